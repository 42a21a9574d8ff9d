// The settings window's logic without the window: spin bounds, press labels, row selection and
// the hand-over of press texts between threads.
#include "setup_view.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <stdexcept>
#include <thread>

namespace sendaro {
namespace {

const SpinField& Field(std::string_view name) {
  for (const SpinField& field : kSpinFields) {
    if (field.name == name) return field;
  }
  throw std::out_of_range("no such field");
}

TEST(SpinTarget, StepsWithinTheRangeAndStopsAtItsBounds) {
  struct Case {
    std::string_view field;
    std::int32_t position, delta, expected;
  };
  const Case cases[] = {
      {"Wait1UpDown", 300, 50, 350},   {"Wait1UpDown", 1000, 50, 1000},    {"Wait1UpDown", 50, -50, 50},
      {"WaitRUpDown", 950, 100, 1000}, {"IntervalUpDown", 10, -10, 10},    {"IntervalUpDown", 50, 10, 60},
      {"IntervalUpDown", 5, 10, 15},   {"WaitNUpDown", INT_MAX, 50, 1000}, {"WaitNUpDown", INT_MIN, -50, 50},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SpinTarget(Field(c.field), c.position, c.delta), c.expected) << c.field << " " << c.position;
  }
}

TEST(SpinFields, EachSettingOnceWithItsDefaultInRange) {
  const Timings defaults;
  std::set<std::string_view> keys;
  for (const SpinField& field : kSpinFields) {
    EXPECT_TRUE(keys.insert(field.setting.key).second) << field.name;
    const std::int32_t value = (defaults.*field.setting.member).load();
    EXPECT_GE(value, field.minimum) << field.name;
    EXPECT_LE(value, field.maximum) << field.name;
    EXPECT_EQ((field.maximum - field.minimum) % field.step, 0) << field.name;
  }
  EXPECT_EQ(keys, (std::set<std::string_view>{"Interval", "Wait1", "WaitN", "WaitR"}));
}

CodeTable Table(const std::vector<std::string>& lines) {
  CodeTable table;
  table.Load(lines);
  return table;
}

TEST(SetupView, PressLabelsAndTheRowOfTheirCode) {
  SetupView view;
  view.Show(Table({"0B=Eleven", "1a=Power", "1A=Shadowed", "20=Mute"}));
  ASSERT_EQ(view.rows().size(), 4u);
  EXPECT_EQ(view.rows()[1], (std::pair<std::string, std::string>{"1a", "Power"}));

  // A named button: its row is the first whose code matches, letter case ignored.
  auto labels = view.Pressed(26, "Power");
  ASSERT_TRUE(labels);
  EXPECT_EQ(labels->code, "Code: 1A");
  EXPECT_EQ(labels->key, "Key: Power");
  EXPECT_EQ(labels->row, 1u);
  // The same code again changes nothing, whatever its text.
  EXPECT_FALSE(view.Pressed(26, "Other"));
  // A code without a row: the labels change, no row is selected anew.
  labels = view.Pressed(12, "0C");
  ASSERT_TRUE(labels);
  EXPECT_EQ(labels->code, "Code: 0C");
  EXPECT_EQ(labels->key, "Key: 0C");
  EXPECT_FALSE(labels->row);
  // Codes of 64 bits; the high half counts.
  labels = view.Pressed((std::uint64_t{1} << 32) | 0x20, "x");
  ASSERT_TRUE(labels);
  EXPECT_EQ(labels->code, "Code: 100000020");
  EXPECT_FALSE(labels->row);
  EXPECT_EQ(view.FindRow("20"), 3u);
  EXPECT_FALSE(view.FindRow("020"));

  // A new showing forgets the code shown last.
  view.Show(Table({}));
  EXPECT_TRUE(view.rows().empty());
  EXPECT_TRUE(view.Pressed((std::uint64_t{1} << 32) | 0x20, "x"));
}

TEST(PressTexts, TakenInMessageOrderSkippingLostOnes) {
  PressTexts texts;
  texts.Push(1, "One");
  texts.Push(2, "Two");
  texts.Push(3, "Three");
  texts.Push(4, "Unposted");
  texts.DropNewest();
  EXPECT_EQ(texts.Take(2), "Two");  // the message of 1 was lost: its text goes
  EXPECT_FALSE(texts.empty());
  EXPECT_EQ(texts.Take(3), "Three");
  EXPECT_TRUE(texts.empty());
  EXPECT_FALSE(texts.Take(4));
  EXPECT_FALSE(texts.Take(1));

  for (std::size_t i = 0; i < PressTexts::kLimit + 10; ++i) texts.Push(i, std::to_string(i));
  EXPECT_FALSE(texts.Take(5));  // beyond the limit the oldest were dropped; the search emptied it
  texts.Push(7, "Seven");
  texts.Clear();
  EXPECT_FALSE(texts.Take(7));
}

// One thread pushes texts of one repeated letter while another takes them: every text taken is
// whole and belongs to its code.
TEST(PressTexts, TextsCrossThreadsWhole) {
  PressTexts texts;
  constexpr std::uint64_t kPresses = PressTexts::kLimit - 1;  // never more than the limit waiting
  std::thread producer([&] {
    for (std::uint64_t code = 0; code < kPresses; ++code) {
      texts.Push(code, std::string(100 + code % 23, static_cast<char>('A' + code % 26)));
    }
  });
  std::uint64_t next = 0;
  std::size_t taken = 0;
  while (next < kPresses) {
    if (const auto text = texts.Take(next)) {
      ASSERT_EQ(*text, std::string(100 + next % 23, static_cast<char>('A' + next % 26)));
      ++taken;
      ++next;
    } else {
      std::this_thread::yield();
    }
  }
  producer.join();
  EXPECT_EQ(taken, kPresses);
}

}  // namespace
}  // namespace sendaro
