// Fixed texts and message numbers of the remote-receiver plug-in.
#pragma once

#include <cstdint>
#include <string_view>

namespace sendaro {

inline constexpr const char* kDescription = "Sendaro Control (VGA/TV Tuner)";
inline constexpr std::string_view kDefaultInstanceName = "REMOTE";
// The one entry of the group list, and the group of a code without a name.
inline constexpr std::string_view kGroupName = "Sendaro Control";
inline constexpr std::string_view kUndefinedGroup = "<undefined>";

// What ReadRemoteData returns when the sensor has nothing to report.
inline constexpr std::int32_t kNothingRead = 255;

// Posted to the settings window while it is open.
inline constexpr unsigned WM_REMOTE_PRESSED = 0x0400;   // WPARAM high, LPARAM low 32 bits of the code
inline constexpr unsigned WM_REMOTE_RELEASED = 0x0401;  // WPARAM 0, LPARAM 0

}  // namespace sendaro
