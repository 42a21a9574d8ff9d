#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "digit_entry.h"

namespace korvid {
namespace {

struct Press {
  int digit;
  std::int32_t at;  // digit clock, ms
  std::int32_t window;
  std::int32_t wParam;
};

void ExpectPresses(const std::vector<Press>& presses, const char* what) {
  DigitEntry entry;
  for (std::size_t i = 0; i < presses.size(); ++i) {
    const Press& p = presses[i];
    EXPECT_EQ(entry.Press(p.digit, p.at, p.window), p.wParam) << what << ", press " << i;
  }
}

TEST(DigitEntry, JoinsDigitsWithinTheWindow) {
  ExpectPresses({{1, 5000, 1500, 0}, {2, 5200, 1500, 11}, {3, 5400, 1500, 2}}, "12 is above 9: 3 starts anew");
  ExpectPresses({{0, 5000, 1500, 9}, {5, 5100, 1500, 4}, {3, 5200, 1500, 52}}, "0 then 5 is 5, so 3 joins");
  ExpectPresses({{4, 5000, 1000, 3}, {2, 7000, 1000, 1}}, "two seconds apart");
  ExpectPresses({{1, 5000, 1000, 0}, {0, 5500, 1000, 9}}, "1 then 0 is 10");
  ExpectPresses({{9, 5000, 1000, 8}}, "a lone 9");
  ExpectPresses({{0, 5000, 1000, 9}, {0, 5010, 1000, 9}}, "00 is 0");
}

TEST(DigitEntry, TheWindowsEdges) {
  ExpectPresses({{1, 5000, 300, 0}, {2, 5300, 300, 11}}, "exactly W after joins");
  ExpectPresses({{1, 5000, 300, 0}, {2, 5310, 300, 1}}, "W + 10 does not");
  ExpectPresses({{1, 5000, 0, 0}, {2, 5000, 0, 11}}, "window 0: the same tick joins");
  ExpectPresses({{1, 5000, 0, 0}, {2, 5010, 0, 1}}, "window 0: the next tick does not");
  ExpectPresses({{1, 5000, -1, 0}, {2, 5000, -1, 1}}, "a negative window never joins");
  ExpectPresses({{1, 5000, INT_MIN, 0}, {2, 5000, INT_MIN, 1}}, "the most negative window");
  ExpectPresses({{3, 100, 1000, 2}}, "the first digit soon after load joins the initial 0");
  // The clock wraps after about 24.8 days; digits just either side of the wrap still join.
  ExpectPresses({{1, INT_MAX - 5, 1000, 0}, {2, INT_MIN + 4, 1000, 11}}, "across the wrap");
}

TEST(DigitEntry, TheStateLastsAcrossWindowsOfEachPress) {
  // Each press brings its own window: the second digit is judged by the second's.
  ExpectPresses({{1, 5000, 10000, 0}, {2, 6000, 500, 1}}, "the later, shorter window rules");
}

TEST(DigitClock, CountsMillisecondsSinceTheOriginInTensOfMilliseconds) {
  EXPECT_EQ(DigitClockMillis(1000, 1000, 0), 0);
  EXPECT_EQ(DigitClockMillis(1000, 1000, 9), 0);
  EXPECT_EQ(DigitClockMillis(1000, 1000, 10), 10);
  EXPECT_EQ(DigitClockMillis(1000, 1003, 999), 3990);
  EXPECT_EQ(DigitClockMillis(1000, 999, 500), -500);  // the wall clock went back
  // Past 2^31 ms the count wraps to negative numbers.
  EXPECT_EQ(DigitClockMillis(0, 2147484, 0), 2147484000 - 4294967296);
  EXPECT_EQ(DigitClockMillis(13'300'000'000, 13'300'000'000 + 86400, 250), 86'400'250);
}

}  // namespace
}  // namespace korvid
