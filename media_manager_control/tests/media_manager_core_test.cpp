#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "contract/params_block.h"
#include "media_manager.h"

namespace jubelon {
namespace {

using contract::ActionParams;
using contract::ParamSlot;

struct Posted {
  std::uint32_t code;
  ParamSlot argument;
  bool operator==(const Posted&) const = default;
};

class FakeManager final : public ManagerPort {
 public:
  std::uintptr_t window = 0x4321;
  int lookups = 0;
  std::vector<Posted> posted;

  std::uintptr_t FindManagerWindow() override {
    ++lookups;
    return window;
  }
  void PostCommand(std::uintptr_t target, std::uint32_t code, ParamSlot argument) override {
    EXPECT_EQ(target, window);
    posted.push_back({code, argument});
  }
};

using contract::WordBlock;

TEST(MediaManagerTable, HasItsBlocksOfRisingUniqueCodes) {
  EXPECT_EQ(std::size(kCommands), 134u);
  std::set<std::string_view> words;
  std::set<std::uint32_t> codes;
  std::map<std::uint32_t, std::vector<std::uint32_t>> blocks;
  for (const Command& command : kCommands) {
    EXPECT_TRUE(words.insert(command.word).second) << command.word;
    EXPECT_TRUE(codes.insert(command.code).second) << command.code;
    blocks[command.code / 1000 * 1000].push_back(command.code);
  }
  const std::map<std::uint32_t, std::size_t> sizes = {{10000, 28}, {20000, 15}, {21000, 13}, {22000, 15}, {23000, 14},
                                                      {24000, 15}, {25000, 18}, {26000, 6},  {27000, 2},  {30000, 8}};
  ASSERT_EQ(blocks.size(), sizes.size());
  std::uint32_t previous = 0;
  for (const Command& command : kCommands) {  // blocks in order, codes rising in listing order
    EXPECT_GT(command.code, previous) << command.word;
    previous = command.code;
  }
  for (const auto& [first, members] : blocks) {
    EXPECT_EQ(members.front(), first);
    EXPECT_EQ(members.size(), sizes.at(first)) << first;
  }
  for (const Command& command : kCommands) {
    const Command* found = FindCommand(std::string(command.word).c_str());
    ASSERT_NE(found, nullptr) << command.word;
    EXPECT_EQ(found, &command);
  }
}

TEST(MediaManagerAction, PostsTheCodeWithTheSecondSlotUnchanged) {
  static const char kText[] = "a host string";
  const ParamSlot textAddress = reinterpret_cast<ParamSlot>(kText);
  const struct {
    const char* word;
    std::int32_t count;
    std::int32_t kind1;
    ParamSlot value1;
    std::uint32_t code;
  } cases[] = {
      {"play", 1, 0, 0, 10001},                  // small letters
      {"VOLUME_SET", 2, 1, 50, 10020},           // a number as parameter 1
      {"PLAY", 2, 1, 7, 10001},                  // any word takes it
      {"STOP", 4, 1, -1, 10002},                 // parameters 2 and 3 ignored
      {"KEYSTROKE", 2, 0, textAddress, 27000},   // a text goes out as its address
      {"Tune_Tv", 1, 1, 0x5EED, 30007},          // count 1: what the host left in the slot
      {"INTERACT", INT_MAX, 5, INT_MIN, 24016},  // no upper bound on the count
  };
  for (const auto& c : cases) {
    FakeManager manager;
    const ActionParams params = WordBlock(c.word, c.count, c.kind1, c.value1);
    EXPECT_EQ(PerformAction(&params, manager), 1) << c.word;
    EXPECT_EQ(manager.posted, (std::vector<Posted>{{c.code, c.value1}})) << c.word;
  }
}

TEST(MediaManagerAction, RejectsWithoutPosting) {
  const std::string huge(10000, 'P');
  for (const char* word : {"PLAY ", "PLA", "", "PLAYX", "FULLSCREEN1", "\xC9\xE9", huge.c_str()}) {
    FakeManager manager;
    const ActionParams params = WordBlock(word, 2, 1, 3);
    EXPECT_EQ(PerformAction(&params, manager), 0) << word;
    EXPECT_TRUE(manager.posted.empty());
  }
  // Blocks rejected before the manager is looked up.
  std::vector<ActionParams> blocks = {WordBlock("PLAY", 0, 1, 3), WordBlock("PLAY", -1, 1, 3),
                                      WordBlock("PLAY", INT_MIN, 1, 3), WordBlock(nullptr, 1, 1, 3)};
  ActionParams numberFirst = WordBlock("PLAY", 1, 1, 3);
  numberFirst.kind[0] = 1;
  blocks.push_back(numberFirst);
  for (const ActionParams& params : blocks) {
    FakeManager manager;
    EXPECT_EQ(PerformAction(&params, manager), 0) << params.count;
    EXPECT_EQ(manager.lookups, 0);
  }
  FakeManager manager;
  EXPECT_EQ(PerformAction(nullptr, manager), 0);
  EXPECT_EQ(manager.lookups, 0);

  manager.window = 0;
  const ActionParams play = WordBlock("PLAY", 1, 1, 3);
  EXPECT_EQ(PerformAction(&play, manager), 0);
  EXPECT_TRUE(manager.posted.empty());
}

}  // namespace
}  // namespace jubelon
