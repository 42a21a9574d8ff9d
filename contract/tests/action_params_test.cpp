#include "contract/action_params.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace contract {
namespace {

// A parameter block built from texts (strings) and numbers (ints), as the host passes it.
struct Block {
  ActionParams params{};
  std::vector<std::string> texts;

  Block& text(const std::string& value) {
    texts.reserve(4);
    texts.push_back(value);
    const int i = params.count++;
    params.kind[i] = kKindText;
    params.value[i] = reinterpret_cast<ParamSlot>(texts.back().c_str());
    return *this;
  }
  Block& number(std::int32_t value) {
    const int i = params.count++;
    params.kind[i] = 1;
    params.value[i] = value;  // sign-extended, as the host writes a number
    return *this;
  }
};

std::string Report(const ActionParams* params) {
  char out[kReportMaxLength + 1];
  std::memset(out, 'X', sizeof out);
  const std::size_t length = FormatInvalidParamsReport(params, "Keyboard", out);
  EXPECT_EQ(length, std::strlen(out));
  return out;
}

TEST(InvalidParamsReport, WritesEachKindOfParameter) {
  Block block;
  block.text("HOLD").text("Q").number(31);
  EXPECT_EQ(Report(&block.params), "Invalid params: Keyboard.ActionManual(\"HOLD\",\"Q\",0x1F)");

  Block numbers;
  numbers.number(-1).number(0).number(INT_MIN);
  EXPECT_EQ(Report(&numbers.params), "Invalid params: Keyboard.ActionManual(0xFFFFFFFF,0x0,0x80000000)");
}

TEST(InvalidParamsReport, EmptyNullAndOutOfRangeBlocks) {
  Block empty;
  EXPECT_EQ(Report(&empty.params), "Invalid params: Keyboard.ActionManual()");
  EXPECT_EQ(Report(nullptr), "Invalid params: Keyboard.ActionManual()");

  Block negative;
  negative.text("A");
  negative.params.count = -1;
  EXPECT_EQ(Report(&negative.params), "Invalid params: Keyboard.ActionManual()");

  // A count beyond the capacity reads the four slots and no further.
  Block many;
  many.text("A").number(1).number(2).number(3);
  many.params.count = INT_MAX;
  EXPECT_EQ(Report(&many.params), "Invalid params: Keyboard.ActionManual(\"A\",0x1,0x2,0x3)");

  Block nullText;
  nullText.text("A");
  nullText.params.value[0] = 0;
  EXPECT_EQ(Report(&nullText.params), "Invalid params: Keyboard.ActionManual(NULL)");
}

TEST(InvalidParamsReport, NeverExceeds255Characters) {
  const std::string prefix = "Invalid params: Keyboard.ActionManual(\"";
  Block longWord;
  longWord.text(std::string(300, 'W')).text("never shown");
  const std::string report = Report(&longWord.params);
  EXPECT_EQ(report.size(), 255u);
  EXPECT_EQ(report, prefix + std::string(255 - prefix.size(), 'W'));

  // A parameter that ends exactly at the limit leaves no room for the closing parenthesis.
  Block exact;
  exact.text(std::string(255 - prefix.size() - 1, 'E'));
  EXPECT_EQ(Report(&exact.params), prefix + std::string(255 - prefix.size() - 1, 'E') + "\"");

  // One character less and the parenthesis fits.
  Block fits;
  fits.text(std::string(255 - prefix.size() - 2, 'F'));
  EXPECT_EQ(Report(&fits.params).size(), 255u);
  EXPECT_EQ(Report(&fits.params).back(), ')');
}

TEST(AcceptsBlock, CountKindAndAddressRules) {
  Block one;
  one.text("PLAY");
  Block two;
  two.text("PLAY").number(5);
  Block numberFirst;
  numberFirst.number(5);
  Block nullText;
  nullText.text("x");
  nullText.params.value[0] = 0;

  EXPECT_TRUE(AcceptsBlock(&one.params, 1, 2, 1));
  EXPECT_TRUE(AcceptsBlock(&two.params, 1, 2, 1));
  EXPECT_FALSE(AcceptsBlock(&two.params, 1, 2, 2));  // the second is a number
  EXPECT_FALSE(AcceptsBlock(&numberFirst.params, 1, 2, 1));
  EXPECT_FALSE(AcceptsBlock(&nullText.params, 1, 2, 1));
  EXPECT_FALSE(AcceptsBlock(nullptr, 0, 4, 0));
  for (std::int32_t count : {-1, 0, 3, 5, INT_MAX}) {
    Block block;
    block.text("PLAY");
    block.params.count = count;
    EXPECT_FALSE(AcceptsBlock(&block.params, 1, 2, 1)) << count;
  }
}

TEST(Words, CompareWholeAndCaseBlind) {
  EXPECT_TRUE(SameWord("PLAYBACK_PLAY", "playback_Play"));
  EXPECT_FALSE(SameWord("PLAYBACK_PLAY", "PLAYBACK_PLAY "));
  EXPECT_FALSE(SameWord("PLAYBACK_PLAY", "PLAYBACK"));
  EXPECT_FALSE(SameWord("A", "\xC1"));  // only ASCII letters fold
  EXPECT_EQ(BoundedText("abcdef", 3), "abc");
  EXPECT_EQ(BoundedText(nullptr, 3), "");

  struct Row {
    std::string_view word;
    int code;
  };
  static constexpr Row kTable[] = {{"ONE", 1}, {"TWO", 2}};
  ASSERT_NE(FindWord(kTable, "two"), nullptr);
  EXPECT_EQ(FindWord(kTable, "two")->code, 2);
  EXPECT_EQ(FindWord(kTable, "TWOO"), nullptr);
  EXPECT_EQ(FindWord(kTable, nullptr), nullptr);
  EXPECT_EQ(FindWord(kTable, std::string(10000, 'O').c_str()), nullptr);
}

TEST(InstanceName, DefaultAndCut) {
  char name[kInstanceNameSize];
  std::memset(name, 'X', sizeof name);
  CopyInstanceName(name, nullptr, "KEY");
  EXPECT_STREQ(name, "KEY");
  EXPECT_EQ(name[63], '\0');

  const std::string longName(100, 'n');
  CopyInstanceName(name, longName.c_str(), "KEY");
  EXPECT_EQ(std::string(name), longName.substr(0, 63));

  CopyInstanceName(name, "", "KEY");
  EXPECT_STREQ(name, "");
}

}  // namespace
}  // namespace contract
