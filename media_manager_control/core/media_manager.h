// The media-manager plug-in's logic: command words to command messages for the manager's window.
#pragma once

#include <cstdint>
#include <string_view>

#include "contract/plugin_contract.h"

namespace jubelon {

inline constexpr const char* kDescription = "Jubelon 9.x control";
inline constexpr const char* kManagerWindowClass = "MJFrame";
inline constexpr unsigned kWmApp = 0x8000;
inline constexpr unsigned WM_MANAGER_COMMAND = kWmApp + 1000;

struct Command {
  std::string_view word;
  std::uint32_t code;
};

inline constexpr Command kCommands[] = {
#define MEDIA_MANAGER_COMMAND(word, code) {word, code},
#include "media_manager_commands.inc"
#undef MEDIA_MANAGER_COMMAND
};

// The word's row, compared whole and without regard to case; nullptr for an unknown word.
const Command* FindCommand(const char* word) noexcept;

// What ActionManual needs from the system. A window is an opaque non-zero number.
class ManagerPort {
 public:
  virtual ~ManagerPort() = default;
  // The first top-level window of the manager's class, or 0.
  virtual std::uintptr_t FindManagerWindow() = 0;
  // Posts WM_MANAGER_COMMAND with the code as WPARAM and `argument` as LPARAM; nothing waits.
  virtual void PostCommand(std::uintptr_t window, std::uint32_t code, contract::ParamSlot argument) = 0;
};

// Performs one action and returns its result (1 performed, 0 not). The caller posts the result.
std::intptr_t PerformAction(const contract::ActionParams* params, ManagerPort& manager);

}  // namespace jubelon
