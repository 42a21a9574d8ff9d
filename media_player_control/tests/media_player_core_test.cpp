#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "media_player.h"

namespace lumidor {
namespace {

using contract::ActionParams;

class FakePlayer final : public PlayerPort {
 public:
  std::uintptr_t window = 0x1234;
  std::intptr_t answer = 77;
  int lookups = 0;
  std::vector<std::uint32_t> sent;

  std::uintptr_t FindPlayerWindow() override {
    ++lookups;
    return window;
  }
  std::intptr_t SendCommand(std::uintptr_t target, std::uint32_t code) override {
    EXPECT_EQ(target, window);
    sent.push_back(code);
    return answer;
  }
};

ActionParams Words(const char* word, int count = 1) {
  ActionParams params{};
  params.count = count;
  params.value[0] = reinterpret_cast<contract::ParamSlot>(word);
  params.kind[1] = 1;
  params.value[1] = -5;
  return params;
}

TEST(MediaPlayerTable, HasSeventyWordsInGaplessAreas) {
  EXPECT_EQ(std::size(kCommands), 70u);
  std::set<std::string_view> words;
  std::set<std::uint32_t> codes;
  for (const Command& command : kCommands) {
    EXPECT_TRUE(words.insert(command.word).second) << command.word;
    EXPECT_TRUE(codes.insert(command.code).second) << command.code;
  }
  // Each area starts at a multiple of 50 (the file area at 40) and runs without gaps.
  std::map<std::uint32_t, std::vector<std::uint32_t>> areas;
  for (const Command& command : kCommands) {
    areas[command.code == 40 || command.code == 41 ? 40 : command.code / 50 * 50].push_back(command.code);
  }
  EXPECT_EQ(areas.size(), 10u);
  for (const auto& [first, members] : areas) {
    for (std::size_t i = 0; i < members.size(); ++i) EXPECT_EQ(members[i], first + i);
  }
  // Every word finds its own row.
  for (const Command& command : kCommands) {
    ASSERT_NE(FindCommand(std::string(command.word).c_str()), nullptr);
    EXPECT_EQ(FindCommand(std::string(command.word).c_str())->code, command.code);
  }
}

TEST(MediaPlayerAction, SendsTheWordsCodeAndReturnsTheAnswer) {
  const struct {
    const char* word;
    int count;
    std::uint32_t code;
  } cases[] = {
      {"PLAYBACK_PLAY", 1, 101}, {"playback_play", 1, 101}, {"PlayBack_pLay", 1, 101},
      {"VERSION", 1, 0},         {"SOUND_MUTE", 2, 403},    {"application_power_off", 1, 454},
  };
  for (const auto& c : cases) {
    FakePlayer player;
    const ActionParams params = Words(c.word, c.count);
    EXPECT_EQ(PerformAction(&params, player), 77) << c.word;
    EXPECT_EQ(player.sent, std::vector<std::uint32_t>{c.code}) << c.word;
  }
  FakePlayer silent;
  silent.answer = 0;
  const ActionParams version = Words("VERSION");
  EXPECT_EQ(PerformAction(&version, silent), 0);  // the player's own 0 is reported as it is
  EXPECT_EQ(silent.sent.size(), 1u);
}

TEST(MediaPlayerAction, GetHandleAnswersWithoutSending) {
  FakePlayer player;
  const ActionParams params = Words("get_handle");
  EXPECT_EQ(PerformAction(&params, player), 0x1234);
  EXPECT_TRUE(player.sent.empty());

  player.window = 0;
  EXPECT_EQ(PerformAction(&params, player), 0);
}

TEST(MediaPlayerAction, RejectsWithoutSending) {
  const std::string huge(10000, 'P');
  const char* words[] = {"PLAYBACK_PLAY ", "PLAYBACK", "", "PLAYBACK_PLAYX", "\xC9\xE9", huge.c_str(), "GET_HANDLE "};
  for (const char* word : words) {
    FakePlayer player;
    const ActionParams params = Words(word);
    EXPECT_EQ(PerformAction(&params, player), 0) << word;
    EXPECT_TRUE(player.sent.empty());
  }
  // Blocks rejected before the player is looked up.
  std::vector<ActionParams> blocks;
  for (int count : {-1, 0, 3, 4, 5, INT_MAX}) blocks.push_back(Words("PLAYBACK_PLAY", count));
  ActionParams numberFirst = Words("PLAYBACK_PLAY");
  numberFirst.kind[0] = 1;
  blocks.push_back(numberFirst);
  blocks.push_back(Words(nullptr));
  for (const ActionParams& params : blocks) {
    FakePlayer player;
    EXPECT_EQ(PerformAction(&params, player), 0) << params.count;
    EXPECT_EQ(player.lookups, 0);
  }
  FakePlayer player;
  EXPECT_EQ(PerformAction(nullptr, player), 0);
  EXPECT_EQ(player.lookups, 0);
}

TEST(MediaPlayerAction, NoPlayerGivesZero) {
  FakePlayer player;
  player.window = 0;
  const ActionParams params = Words("PLAYBACK_PLAY");
  EXPECT_EQ(PerformAction(&params, player), 0);
  EXPECT_TRUE(player.sent.empty());
}

}  // namespace
}  // namespace lumidor
