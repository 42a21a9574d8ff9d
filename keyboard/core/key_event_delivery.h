// Turns key messages into host events: keeps the held modifiers, the last key value and the
// repeat counter, names the combination and compares it with the name in the event record.
#pragma once

#include <cstdint>
#include <string_view>

#include "contract/plugin_contract.h"
#include "key_names.h"

namespace keyboard {

// The key message that the hook library, the DirectInput monitor and the hotkey handling post.
inline constexpr unsigned kKeyMessage = 0x0400;  // WM_USER
inline constexpr unsigned kWmHotkey = 0x0312;
inline constexpr std::uint32_t kReleaseBit = 0x80000000u;

// Where the events go: the host, or the settings window while it is shown.
class DeliveryPort {
 public:
  virtual ~DeliveryPort() = default;
  virtual bool WindowVisible() = 0;
  // Sends WM_PLUGIN_EVENT with the record as it is at this moment and this repeat state.
  virtual void SendEvent(std::intptr_t repeatState) = 0;
  virtual void ShowKeys(std::string_view text) = 0;
  virtual void ShowCount(std::string_view text) = 0;
};

class KeyEventDelivery {
 public:
  // `eventText` is the event record's text, which this object keeps as the current name.
  explicit KeyEventDelivery(char (&eventText)[contract::kEventTextSize]) noexcept : eventText_(eventText) {}

  // One key message. `keyCodes` tells that the code in LPARAM is a key code (hook mode) rather
  // than a table code (DirectInput mode).
  void HandleKeyMessage(std::uintptr_t wParam, std::uintptr_t lParam, bool keyCodes, KeySystem& system,
                        DeliveryPort& port);

  // A hotkey (LPARAM of WM_HOTKEY: modifier flags, virtual key in the high word): sets the held
  // modifiers it names and returns the LPARAM of the key message to post (WPARAM: the virtual key).
  std::uint32_t HandleHotkey(std::uintptr_t hotkeyLParam, KeySystem& system);

  std::uint32_t heldModifiers() const noexcept { return heldModifiers_; }
  std::int32_t lastKeyValue() const noexcept { return lastKeyValue_; }
  std::int32_t repeatCounter() const noexcept { return repeatCounter_; }
  std::string_view currentName() const noexcept;

 private:
  char (&eventText_)[contract::kEventTextSize];
  std::uint32_t heldModifiers_ = 0;
  std::int32_t lastKeyValue_ = kNoKey;
  std::int32_t repeatCounter_ = -1;
};

}  // namespace keyboard
