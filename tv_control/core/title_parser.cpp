#include "title_parser.h"

#include <cstddef>
#include <limits>

#include "contract/action_params.h"

namespace korvid {
namespace {

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// The decimal value of a run of digits, held at the largest signed 32-bit number.
std::int32_t SaturatedNumber(std::string_view digits) noexcept {
  constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (char digit : digits) {
    value = value * 10 + (digit - '0');
    if (value > kLargest) return static_cast<std::int32_t>(kLargest);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

bool HasTitlePrefix(std::string_view title) noexcept {
  return title.size() >= kTitlePrefix.size() && contract::SameWord(title.substr(0, kTitlePrefix.size()), kTitlePrefix);
}

ParsedTitle ParseTitle(std::string_view title) noexcept {
  ParsedTitle parsed;
  // The walks below never go back into the prefix (it ends with "-", which stops each of them).
  const std::size_t floor = title.size() < kTitlePrefix.size() ? title.size() : kTitlePrefix.size();
  std::size_t end = title.size();  // the name ends before `end`
  if (end > floor && title[end - 1] == ')') {
    std::size_t reached = end - 1;  // one past the character the walk stands on
    while (reached > floor && IsDigit(title[reached - 1])) --reached;
    if (reached > floor && title[reached - 1] == '(') {
      parsed.number = SaturatedNumber(title.substr(reached, end - 1 - reached));
      --reached;  // the "(" goes with the number
    }
    while (reached > floor && title[reached - 1] == ' ') --reached;
    end = reached;
  }
  std::size_t begin = floor;
  while (begin < end && title[begin] == ' ') ++begin;
  parsed.name = title.substr(begin, end - begin);
  return parsed;
}

}  // namespace korvid
