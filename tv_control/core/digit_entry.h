// Channel numbers keyed in one digit at a time: a digit that follows the previous one within the
// joining window makes a two-digit number with it.
#pragma once

#include <cstdint>

namespace korvid {

// The digit clock: milliseconds of local wall-clock time since the origin (whole seconds, taken
// when the module was loaded), in steps of 10 ms. It is a signed 32-bit count and wraps.
std::int32_t DigitClockMillis(std::int64_t originSeconds, std::int64_t nowSeconds, int nowMilliseconds) noexcept;

class DigitEntry {
 public:
  // Enters `digit` (0 to 9) at time `now` with a joining window of `windowMs` and returns the
  // WPARAM for the application: the number so far less one, 9 for a lone 0.
  std::int32_t Press(int digit, std::int32_t now, std::int32_t windowMs) noexcept;

  std::int32_t number() const noexcept { return number_; }

 private:
  std::int32_t number_ = 0;
  std::int32_t previousDigitTime_ = 0;
};

}  // namespace korvid
