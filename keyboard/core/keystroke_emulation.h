// The keyboard plug-in's command interpreter: key combinations pressed through the system input
// or posted as key messages, typed texts, the lock keys and the layout switch.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "contract/plugin_contract.h"
#include "input_port.h"
#include "keyboard_settings.h"

namespace keyboard {

inline constexpr std::size_t kMaxCombinationKeys = 4;
inline constexpr std::size_t kNoPartLimit = std::numeric_limits<std::size_t>::max();

// Splits a key-combination text ("Ctrl+Alt+Delete") into its key names, at most `limit` of them.
// Only the first 127 characters count. A "+" right at the start of a name, or after a blank,
// belongs to the name ("Num +", "Ctrl++"). An empty text is one empty name.
std::vector<std::string> SplitCombination(std::string_view text, std::size_t limit);

class KeystrokeEmulator {
 public:
  // The settings are read at each command, so a change applies to the next one.
  KeystrokeEmulator(InputPort& port, const KeyboardSettings& settings) noexcept : port_(port), settings_(settings) {}

  // Runs the command of a host's parameter block: 1 done, 0 failed.
  int ExecuteCommand(const contract::ActionParams* params);
  // Runs a command on private copies of two texts, as the commands that use other commands do.
  int ExecuteSubCommand(std::string_view word, std::string_view argument);

  // Injects one key transition; flags 0 presses, kKeyEventRelease releases. A virtual key of 0
  // is derived (legacy mode) or left out so that the scan code alone travels.
  void SendKey(int virtualKey, int keyCode, unsigned flags);
  // Releases every key the calling thread's keyboard state shows held down.
  void ReleaseHeldKeys();
  // Whether the foreground window's keyboard layout has primary language English.
  bool IsEnglishLayout();

 private:
  struct Command;
  static const Command kCommands[];

  int Press(const contract::ActionParams& params);
  int KeyDown(const contract::ActionParams& params);
  int KeyUp(const contract::ActionParams& params);
  int PostPress(const contract::ActionParams& params);
  int PostKeyDown(const contract::ActionParams& params);
  int PostKeyUp(const contract::ActionParams& params);
  int Type(const contract::ActionParams& params);
  int LockOn(const contract::ActionParams& params);
  int LockOff(const contract::ActionParams& params);
  int Layout(const contract::ActionParams& params);

  int SendOneKey(const contract::ActionParams& params, unsigned flags);
  int PostOneKey(const contract::ActionParams& params, bool release);
  int SetLock(const contract::ActionParams& params, bool on);
  void TypeByCharacterCode(char character);
  bool TypeByKey(std::uint16_t keyAndShift);

  InputPort& port_;
  const KeyboardSettings& settings_;
};

}  // namespace keyboard
