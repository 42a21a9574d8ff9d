// Hotkey watches: single key combinations that the host asks to be told about, registered as
// system-wide hotkeys for the plug-in's window. The registrations live in the settings window's
// "Registered hotkeys" list, which is both their store and their display.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "contract/plugin_contract.h"
#include "key_names.h"

namespace keyboard {

// RegisterHotKey's modifier flags.
inline constexpr unsigned kModAlt = 0x1;
inline constexpr unsigned kModControl = 0x2;
inline constexpr unsigned kModShift = 0x4;
inline constexpr unsigned kModWin = 0x8;

// Turns a combination text ("Ctrl+Alt+F1") into modifier flags and one virtual key. The order of
// the names does not matter; the last name that is no modifier gives the key (0 when none does).
// False when a name is neither a key name nor a virtual-key name.
bool ParseHotkey(std::string_view text, KeySystem& system, unsigned& modifiers, int& virtualKey);

// The items of the registration list, in order: each a text with its hotkey id.
class RegistrationList {
 public:
  virtual ~RegistrationList() = default;
  virtual std::size_t Count() = 0;
  virtual std::string Text(std::size_t index) = 0;
  virtual std::int32_t Id(std::size_t index) = 0;
  // False when the list cannot take the item.
  virtual bool Append(std::string_view text, std::int32_t id) = 0;
  virtual void Remove(std::size_t index) = 0;
};

// The system's hotkeys for the plug-in's window, and its key mapping for parsing.
class HotkeySystem : public KeySystem {
 public:
  // RegisterHotKey: false when the system refuses the pair.
  virtual bool RegisterHotkey(std::int32_t id, unsigned modifiers, int virtualKey) = 0;
  // UnregisterHotKey; its result is not wanted.
  virtual void UnregisterHotkey(std::int32_t id) = 0;
};

class HotkeyWatches {
 public:
  HotkeyWatches(RegistrationList& list, HotkeySystem& system) noexcept : list_(list), system_(system) {}

  // StartManual and StopManual: a block of exactly one text. Every failure is silent.
  void Start(const contract::ActionParams* params);
  void Stop(const contract::ActionParams* params);
  // Withdraws every hotkey in list order; the list itself stays.
  void WithdrawAll();

 private:
  // The position of the item with this text, compared without regard to letter case.
  std::size_t Find(std::string_view text);

  RegistrationList& list_;
  HotkeySystem& system_;
};

}  // namespace keyboard
