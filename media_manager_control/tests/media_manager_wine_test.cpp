// Jubelon.dll under Wine: the real exports, a host window on the test's thread and the stand-in
// media manager on a thread of its own.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "action_calls.h"
#include "contract/plugin_contract.h"
#include "manager_standin.h"
#include "plugin_module.h"
#include "recording_host.h"

namespace {

using contract::ActionParams;
using contract::ParamSlot;
using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
using harness::ActionManualFn;

class JubelonTest : public ::testing::Test {
 protected:
  harness::PluginModule plugin{"Jubelon.dll"};
  harness::RecordingHost host;
  OpenFn open = plugin.get<OpenFn>("Open");
  ActionManualFn actionManual = plugin.get<ActionManualFn>("ActionManual");

  void SetUp() override { ASSERT_STREQ(open(nullptr, host.hwnd(), 0), "Jubelon 9.x control"); }

  std::vector<LPARAM> act(const ActionParams* params, std::int32_t actionId = 7) {
    std::vector<LPARAM> results = harness::CallAction(actionManual, host, params, actionId);
    EXPECT_EQ(host.messages().size(), results.size()) << "only completions reach the host";
    return results;
  }

  static ActionParams block(const char* word, std::int32_t count = 1, std::int32_t kind1 = 1, ParamSlot value1 = 0) {
    return harness::WordBlock(word, count, kind1, value1);
  }

  // Waits until the manager has `n` commands (they are posted, so they arrive on its thread later).
  static std::vector<standins::ReceivedMessage> commandsOf(const standins::ManagerStandIn& manager, std::size_t n) {
    const ULONGLONG deadline = GetTickCount64() + 2000;
    while (manager.commands().size() < n && GetTickCount64() < deadline) Sleep(5);
    return manager.commands();
  }
};

TEST_F(JubelonTest, EveryBlockReachesTheManagerWithItsCodeAndArgument) {
  // The manager's codes, written out independently of the plug-in: the ends of every block,
  // both sides of the gap in the help block, and words that recur in other plug-ins' tables.
  const struct {
    const char* word;
    WPARAM code;
  } cases[] = {
      {"PLAY_PAUSE", 10000},
      {"play", 10001},
      {"Volume_Set", 10020},
      {"PLAY_PREVIOUS_PLAYLIST", 10027},
      {"OPEN_FILE", 20000},
      {"ACQUIRE_IMAGE", 20014},
      {"COPY", 21000},
      {"PROPERTIES", 21012},
      {"MINIME", 22000},
      {"FULLSCREEN", 22001},
      {"SHOW_RECENTLYPLAYED", 22014},
      {"IMPORT", 23000},
      {"OPTIONS", 23013},
      {"HELP_CONTENTS", 24000},
      {"CHECK_FOR_UPDATES", 24011},
      {"INTERACT", 24016},
      {"ABOUT", 24018},
      {"ADD_VIEW_SCHEME", 25000},
      {"RESET_VIEW_SCHEMES", 25017},
      {"LIST_UPDATE_ORDER", 26000},
      {"MOVE_COPY_DISK_FILES", 26005},
      {"KEYSTROKE", 27000},
      {"SHUTDOWN", 27001},
      {"RELOAD_RIGHT_VIEW", 30000},
      {"TUNE_TV", 30007},
  };
  standins::ManagerStandIn manager;
  std::int32_t id = 100;
  LPARAM argument = -2;
  for (const auto& c : cases) {
    manager.clear();
    const ActionParams params = block(c.word, 2, 1, argument);
    EXPECT_EQ(act(&params, ++id), std::vector<LPARAM>{1}) << c.word;
    const auto received = commandsOf(manager, 1);
    ASSERT_EQ(received.size(), 1u) << c.word;
    EXPECT_EQ(received[0].wParam, c.code) << c.word;
    EXPECT_EQ(received[0].lParam, argument) << c.word;
    EXPECT_FALSE(received[0].sent) << "posted, never sent";
    argument += 1000;
  }
}

TEST_F(JubelonTest, TheSecondSlotGoesOutUnchangedWhateverItsKindAndTheCount) {
  static const char kText[] = "Rock";
  const LPARAM textAddress = reinterpret_cast<LPARAM>(kText);
  const struct {
    std::int32_t count;
    std::int32_t kind1;
    ParamSlot value1;
  } cases[] = {
      {2, 1, 50},                 // a number
      {2, 0, textAddress},        // a text: the address of the host's string
      {1, 1, 0x1234},             // count 1: what the host left in the slot
      {4, 1, -7},                 // parameters 2 and 3 are ignored
      {INT_MAX, 0, textAddress},  // no upper bound on the count
  };
  standins::ManagerStandIn manager;
  for (const auto& c : cases) {
    manager.clear();
    ActionParams params = block("SET_MODE", c.count, c.kind1, c.value1);
    params.kind[2] = 1;
    params.value[2] = 99;
    EXPECT_EQ(act(&params), std::vector<LPARAM>{1}) << c.count;
    const auto received = commandsOf(manager, 1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].wParam, 22009u);
    EXPECT_EQ(received[0].lParam, c.value1) << c.count;
  }
}

TEST_F(JubelonTest, FailuresGiveZeroOnceAndPostNothing) {
  {
    standins::ManagerStandIn manager;
    std::vector<ActionParams> blocks = {block("PLAY", 0), block("PLAY", -1), block(nullptr)};
    ActionParams numberFirst = block("PLAY");
    numberFirst.kind[0] = 1;
    numberFirst.value[0] = 10001;
    blocks.push_back(numberFirst);
    const std::string huge(10000, 'A');
    for (const char* word : {huge.c_str(), "PLAY ", "PLAYX", "PLA", "", "\xD0\xCB\xE9\xFF"}) {
      blocks.push_back(block(word, 2));
    }
    for (const ActionParams& params : blocks) EXPECT_EQ(act(&params, INT_MIN), std::vector<LPARAM>{0});
    EXPECT_EQ(act(nullptr, 5), std::vector<LPARAM>{0});
    Sleep(50);
    EXPECT_TRUE(manager.received().empty());
  }
  const ActionParams play = block("PLAY");
  EXPECT_EQ(act(&play), std::vector<LPARAM>{0}) << "no manager window";
}

TEST_F(JubelonTest, OpenAgainReplacesTheHostWindow) {
  harness::RecordingHost second;
  EXPECT_STREQ(open("ignored", second.hwnd(), 99), "Jubelon 9.x control");
  EXPECT_TRUE(actionManual(nullptr, 1));
  second.pumpPending();
  host.pumpPending();
  EXPECT_EQ(second.dones().size(), 1u);
  EXPECT_TRUE(host.dones().empty());
}

}  // namespace
