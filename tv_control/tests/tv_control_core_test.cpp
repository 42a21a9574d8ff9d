#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_system.h"
#include "tv_control.h"

namespace korvid {
namespace {

using contract::ActionParams;
using contract::WordBlock;
using testing::FakeSystem;
using testing::PostedCommand;
using testing::SentEvent;

TEST(TvCommandTable, HasItsEightyFourWordsAndMessageRanges) {
  EXPECT_EQ(std::size(kCommands), 84u);
  std::set<std::string_view> words;
  std::map<unsigned, int> users;
  std::set<std::string_view> param1Words, digitWords;
  for (const Command& command : kCommands) {
    EXPECT_TRUE(words.insert(command.word).second) << command.word;
    ++users[command.message];
    if (command.rule == WParamRule::kParam1) param1Words.insert(command.word);
    if (command.rule == WParamRule::kDigit) digitWords.insert(command.word);
    const Command* found = FindCommand(std::string(command.word).c_str());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &command);
  }
  for (unsigned message = 1221; message <= 1280; ++message) {
    EXPECT_EQ(users[message], message == 1223 ? 11 : 1) << message;
  }
  for (unsigned n = 0; n <= 10; ++n) {
    const Command* channel = FindCommand(("CHANNEL" + std::to_string(n)).c_str());
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->message, 1324 + n);
    EXPECT_EQ(channel->rule, WParamRule::kZero);
  }
  EXPECT_EQ(users.size(), 60u + 11u + 3u);
  EXPECT_EQ(param1Words, (std::set<std::string_view>{"CHANNEL", "VOLUME", "VOLUME2", "BRIGHTNESS", "CONTRAST", "HUE",
                                                     "SATURATION", "FREQ"}));
  EXPECT_EQ(digitWords, (std::set<std::string_view>{"PRESS0", "PRESS1", "PRESS2", "PRESS3", "PRESS4", "PRESS5",
                                                    "PRESS6", "PRESS7", "PRESS8", "PRESS9"}));
}

class TvControlTest : public ::testing::Test {
 protected:
  TvControl tv;
  FakeSystem system;

  void SetUp() override { tv.Open(nullptr); }

  std::intptr_t act(const char* word, std::int32_t count = 2, std::int32_t kind1 = 1, contract::ParamSlot value1 = 0) {
    const ActionParams params = WordBlock(word, count, kind1, value1);
    return tv.PerformAction(&params, system);
  }
  // A digit word pressed at `at` on the digit clock with joining window `window`; returns WPARAM.
  std::intptr_t press(const char* word, std::int32_t at, std::int32_t window) {
    system.posted.clear();
    system.now = at;
    EXPECT_EQ(act(word, 2, 1, window), 1);
    EXPECT_EQ(system.posted.size(), 1u);
    EXPECT_EQ(system.posted.at(0).message, 1223u);
    return system.posted.at(0).wParam;
  }
};

TEST_F(TvControlTest, PostsEachWordWithItsWParamRule) {
  const struct {
    const char* word;
    std::int32_t count;
    contract::ParamSlot value1;
    PostedCommand expected;
  } cases[] = {
      {"HIDEME", 1, 77, {1221, 0}},
      {"volume", 2, 30, {1226, 30}},
      {"CHANNEL", 2, 12, {1223, 12}},
      {"Channel1", 2, 12, {1325, 0}},
      {"CHANNEL10", 1, 5, {1334, 0}},
      {"SYSTEM", 2, 3, {1266, 0}},
      {"SYSTEMPAL", 2, 3, {1268, 0}},
      {"FREQ", 1, -1, {1270, -1}},                                                      // count 1: the slot as it is
      {"BRIGHTNESS", 2, static_cast<contract::ParamSlot>(0x1'0000'0005LL), {1232, 5}},  // its low 32 bits
      {"TVFM", 4, 0, {1356, 0}},
      {"OSDSHOWTIME", 2, 0, {1280, 0}},
      {"CHANNELPREV", 2, 0, {1354, 0}},
      {"saturation", 3, INT_MIN, {1241, INT_MIN}},
  };
  for (const auto& c : cases) {
    system.posted.clear();
    EXPECT_EQ(act(c.word, c.count, 1, c.value1), 1) << c.word;
    EXPECT_EQ(system.posted, std::vector<PostedCommand>{c.expected}) << c.word;
  }
  system.postResult = 0;  // a failed posting is the result
  EXPECT_EQ(act("MUTEON"), 0);
}

TEST_F(TvControlTest, DigitEntryFollowsTheClockAndOnlyDigitWordsTouchIt) {
  EXPECT_EQ(press("PRESS1", 10'000, 1500), 0);
  EXPECT_EQ(press("press2", 10'200, 1500), 11);
  EXPECT_EQ(press("PRESS3", 10'400, 1500), 2);
  // "CHANNEL" in between leaves the number and the time of the last digit alone.
  system.posted.clear();
  system.now = 10'500;
  EXPECT_EQ(act("CHANNEL", 2, 1, 12), 1);
  EXPECT_EQ(system.posted, (std::vector<PostedCommand>{{1223, 12}}));
  EXPECT_EQ(press("PRESS4", 11'900, 1500), 33);  // 1500 ms after PRESS3: joined
  EXPECT_EQ(press("PRESS0", 14'000, 1000), 9);
  EXPECT_EQ(press("PRESS5", 15'000, 1000), 4);   // exactly the window
  EXPECT_EQ(press("PRESS3", 15'500, 1000), 52);  // 5 is not above 9
  EXPECT_EQ(press("PRESS7", 15'500, -1), 6);     // a negative window
}

TEST_F(TvControlTest, AnswersGetHandleItselfAndNeedsTheScreenForEveryWord) {
  EXPECT_EQ(act("get_handle"), 0x5C);
  EXPECT_TRUE(system.posted.empty());
  system.screen = 0;
  system.showTitle("The Korvid - News (12)");
  for (const char* word : {"GET_HANDLE", "GET_TITLE_EVENT", "HIDEME", "PRESS1"}) {
    EXPECT_EQ(act(word, 2, 1, 1000), 0) << word;
  }
  EXPECT_TRUE(system.posted.empty());
  EXPECT_TRUE(system.events.empty());
  EXPECT_EQ(system.windowsRead, 0) << "no title check without the screen window";
  system.screen = 0x5C;
  EXPECT_EQ(press("PRESS2", 100, 1000), 1) << "the failed PRESS1 left no digit behind";
}

TEST_F(TvControlTest, RejectsWithoutPosting) {
  const std::string huge(10000, 'V');
  for (const char* word : {"CHANNEL ", "CHANNEL11", "CHANNELS", "PRESS", "PRESS10", "", "VOLUME2X", "GET_HANDLES",
                           "GET_TITLE_EVENT ", "\xC9\xE9", huge.c_str()}) {
    EXPECT_EQ(act(word), 0) << word;
  }
  EXPECT_TRUE(system.posted.empty());
  const int lookups = system.screenLookups;
  std::vector<ActionParams> blocks = {WordBlock("HIDEME", 0), WordBlock("HIDEME", -1), WordBlock("HIDEME", INT_MIN),
                                      WordBlock(nullptr)};
  ActionParams numberFirst = WordBlock("HIDEME");
  numberFirst.kind[0] = 1;
  blocks.push_back(numberFirst);
  for (const ActionParams& params : blocks) EXPECT_EQ(tv.PerformAction(&params, system), 0);
  EXPECT_EQ(tv.PerformAction(nullptr, system), 0);
  EXPECT_EQ(system.screenLookups, lookups) << "rejected before the screen is looked up";
  EXPECT_EQ(act("HIDEME", INT_MAX), 1) << "no upper bound on the count";
}

TEST_F(TvControlTest, OpenPreparesTheRecordForTheTitleEvent) {
  const std::string longName(100, 'n');
  tv.Open(longName.c_str());
  const contract::EventRecord& record = tv.record();
  EXPECT_EQ(std::string(record.instanceName), longName.substr(0, 63));
  EXPECT_STREQ(record.ext, "EXT");
  EXPECT_EQ(record.params.count, 1);
  EXPECT_EQ(record.params.kind[0], 0);
  const auto* title = reinterpret_cast<const char*>(record.params.value[0]);
  ASSERT_NE(title, nullptr);
  EXPECT_STREQ(title, "");
  // Every other byte is zero.
  contract::EventRecord expected{};
  std::memcpy(expected.instanceName, record.instanceName, sizeof expected.instanceName);
  std::memcpy(expected.ext, "EXT", 4);
  expected.params.count = 1;
  expected.params.value[0] = record.params.value[0];
  EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);

  tv.Open(nullptr);
  EXPECT_STREQ(tv.record().instanceName, "KORVID");
}

TEST_F(TvControlTest, TitleCheckReportsChangedNumbersOnly) {
  EXPECT_FALSE(tv.CheckTitle(false, system)) << "no application window";
  system.showTitle("The Korvid - News (12)");
  EXPECT_TRUE(tv.CheckTitle(false, system));
  EXPECT_FALSE(tv.CheckTitle(false, system));
  system.showTitle("The Korvid - Weather (12)");
  EXPECT_FALSE(tv.CheckTitle(false, system)) << "only the number counts";
  system.showTitle("The Korvid - Weather (13)");
  EXPECT_TRUE(tv.CheckTitle(false, system));
  system.windows.clear();
  EXPECT_FALSE(tv.CheckTitle(true, system)) << "application gone: nothing, even forced";
  system.showTitle("The Korvid - Weather (13)");
  EXPECT_FALSE(tv.CheckTitle(false, system)) << "restarted on the same channel";
  EXPECT_EQ(system.events, (std::vector<SentEvent>{{"TITLE", "News", 12}, {"TITLE", "Weather", 13}}));
  EXPECT_EQ(tv.lastReportedNumber(), 13);
}

TEST_F(TvControlTest, ForcedChecksAndEmptyNames) {
  system.showTitle("The Korvid - Movie");
  EXPECT_FALSE(tv.CheckTitle(false, system)) << "0 equals the initial last number";
  EXPECT_EQ(act("GET_TITLE_EVENT"), 1);
  EXPECT_EQ(act("get_title_event"), 1) << "forced: sent although unchanged";
  system.showTitle("The Korvid - (3)");
  EXPECT_EQ(act("GET_TITLE_EVENT"), 0) << "an empty name sends nothing";
  EXPECT_EQ(tv.lastReportedNumber(), 3) << "but its number is recorded";
  system.showTitle("The Korvid -   (3)");
  EXPECT_FALSE(tv.CheckTitle(false, system));
  EXPECT_EQ(system.events, (std::vector<SentEvent>{{"TITLE", "Movie", 0}, {"TITLE", "Movie", 0}}));
  EXPECT_TRUE(system.posted.empty()) << "GET_TITLE_EVENT posts nothing to the application";
}

TEST_F(TvControlTest, WalksPastOtherApplicationWindows) {
  system.windows = {
      {1, "TApplication", "Some Editor - notes.txt (1)"},  // another program's, on top
      {2, "TvScreenStandIn", "The Korvid - Wrong class (2)"},
      {3, "TApplication", ""},  // no title
      {4, "TApplicationX", "The Korvid - Longer class (4)"},
      {5, "TApplication", "The Korvid"},            // too short for the prefix
      {6, "tapplication", "the korvid -News (5)"},  // letter case does not matter
      {7, "TApplication", "The Korvid - Later (6)"},
  };
  EXPECT_TRUE(tv.CheckTitle(false, system));
  EXPECT_EQ(system.events, (std::vector<SentEvent>{{"TITLE", "News", 5}}));
}

TEST_F(TvControlTest, AWalkThatComesBackOnItselfEnds) {
  // Windows reordered during a walk can lead it in a circle; here the next window is always the same.
  system.windows = {{1, "TApplication", "Another program"}, {1, "TApplication", "Another program"}};
  EXPECT_FALSE(tv.CheckTitle(true, system));
  EXPECT_EQ(system.windowsRead, kMaxWindowsWalked);
}

TEST_F(TvControlTest, LongTitlesAreReadUpTo254Characters) {
  // 300 characters: the window gives only the first 254, so the number is lost with the rest.
  const std::string name(300 - 12 - 6, 'L');
  system.showTitle("The Korvid -" + name + " (123)");
  EXPECT_EQ(act("GET_TITLE_EVENT"), 1);
  ASSERT_EQ(system.events.size(), 1u);
  EXPECT_EQ(system.events[0].number, 0);
  EXPECT_EQ(system.events[0].title, name.substr(0, 254 - 12));
  // Exactly 254 keeps the number.
  const std::string fits(254 - 12 - 6, 'F');
  system.showTitle("The Korvid -" + fits + " (123)");
  EXPECT_TRUE(tv.CheckTitle(false, system));
  EXPECT_EQ(system.events.back(), (SentEvent{"TITLE", fits, 123}));
}

TEST(TitleWatchBlock, AcceptsExactlyOneTitleText) {
  for (const char* word : {"TITLE", "title", "Title"}) {
    const ActionParams params = WordBlock(word, 1);
    EXPECT_TRUE(IsTitleWatchBlock(&params)) << word;
  }
  const std::string huge(10000, 'T');
  for (const ActionParams& params :
       {WordBlock("TITLE", 2), WordBlock("TITLE", 0), WordBlock("TITLE", -1), WordBlock("TITLE ", 1),
        WordBlock("TITLES", 1), WordBlock(huge.c_str(), 1), WordBlock(nullptr, 1)}) {
    EXPECT_FALSE(IsTitleWatchBlock(&params));
  }
  ActionParams number = WordBlock("TITLE", 1);
  number.kind[0] = 1;
  EXPECT_FALSE(IsTitleWatchBlock(&number));
  EXPECT_FALSE(IsTitleWatchBlock(nullptr));
}

}  // namespace
}  // namespace korvid
