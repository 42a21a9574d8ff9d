// Reading the channel out of the TV application's window title: "The Korvid -", the channel's
// name, and the channel number in parentheses at the end.
#pragma once

#include <cstdint>
#include <string_view>

namespace korvid {

inline constexpr std::string_view kTitlePrefix = "The Korvid -";

// Whether `title` begins with the prefix, without regard to letter case.
bool HasTitlePrefix(std::string_view title) noexcept;

struct ParsedTitle {
  std::int32_t number = 0;  // the number in the closing parentheses; 0 without one
  std::string_view name;    // a view into the title: what lies between the prefix and the number
};

// Splits a title that begins with the prefix. A title without it is split all the same, as if its
// first characters were the prefix; nothing outside `title` is read.
ParsedTitle ParseTitle(std::string_view title) noexcept;

}  // namespace korvid
