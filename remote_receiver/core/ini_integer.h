// The one integer rule of the settings file, the same on every system: profile services differ in
// how they read hexadecimal, so values are read as text and parsed here.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sendaro {

// A signed 32-bit decimal number ("-20", "+7") or "0x" and one to eight hex digits ("0x1F",
// "0XFFFFFFFF" = -1, the bits as they stand), with blanks around it allowed. Anything else (empty,
// other characters, a decimal value outside 32 bits, more than eight hex digits) is no integer.
std::optional<std::int32_t> ParseIniInteger(std::string_view text) noexcept;

}  // namespace sendaro
