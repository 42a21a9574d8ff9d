#include "digit_entry.h"

namespace korvid {

std::int32_t DigitClockMillis(std::int64_t originSeconds, std::int64_t nowSeconds, int nowMilliseconds) noexcept {
  const std::int64_t millis = (nowSeconds - originSeconds) * 1000 + nowMilliseconds / 10 * 10;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(millis));
}

std::int32_t DigitEntry::Press(int digit, std::int32_t now, std::int32_t windowMs) noexcept {
  // Elapsed time by modular difference, so the clock's wrap after 24 days does not join digits
  // that lie far apart.
  const auto elapsed =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(previousDigitTime_));
  if (elapsed > windowMs || number_ > 9) {
    number_ = digit;
  } else {
    number_ = number_ * 10 + digit;
  }
  previousDigitTime_ = now;
  return number_ != 0 ? number_ - 1 : 9;
}

}  // namespace korvid
