// The media-player plug-in's logic: command words to command messages for the player's window.
#pragma once

#include <cstdint>
#include <string_view>

#include "contract/plugin_contract.h"

namespace lumidor {

inline constexpr const char* kDescription = "Lumidor control";
inline constexpr const char* kPlayerWindowClass = "LumidorFront";
inline constexpr unsigned kWmApp = 0x8000;
inline constexpr unsigned WM_PLAYER_COMMAND = kWmApp + 2504;
inline constexpr std::string_view kGetHandleWord = "GET_HANDLE";

struct Command {
  std::string_view word;
  std::uint32_t code;
};

inline constexpr Command kCommands[] = {
#define MEDIA_PLAYER_COMMAND(word, code) {word, code},
#include "media_player_commands.inc"
#undef MEDIA_PLAYER_COMMAND
};

// The word's row, compared whole and without regard to case; nullptr for an unknown word.
const Command* FindCommand(const char* word) noexcept;

// What ActionManual needs from the system. A window is an opaque non-zero number.
class PlayerPort {
 public:
  virtual ~PlayerPort() = default;
  // The first top-level window of the player's class, or 0.
  virtual std::uintptr_t FindPlayerWindow() = 0;
  // Sends WM_PLAYER_COMMAND with the code and LPARAM 0 and waits for the player's answer.
  virtual std::intptr_t SendCommand(std::uintptr_t window, std::uint32_t code) = 0;
};

// Performs one action and returns its result (0: not performed). The caller posts the result.
std::intptr_t PerformAction(const contract::ActionParams* params, PlayerPort& player);

}  // namespace lumidor
