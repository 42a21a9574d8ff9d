// Lumidor.dll under Wine: the real exports, a host window on the test's thread and the stand-in
// player on a thread of its own.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "contract/plugin_contract.h"
#include "player_standin.h"
#include "plugin_module.h"
#include "recording_host.h"

namespace {

using contract::ActionParams;
using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
using ActionManualFn = BOOL(__stdcall*)(const ActionParams*, std::int32_t);

class LumidorTest : public ::testing::Test {
 protected:
  harness::PluginModule plugin{"Lumidor.dll"};
  harness::RecordingHost host;
  OpenFn open = plugin.get<OpenFn>("Open");
  ActionManualFn actionManual = plugin.get<ActionManualFn>("ActionManual");

  void SetUp() override { ASSERT_STREQ(open(nullptr, host.hwnd(), 0), "Lumidor control"); }

  // Calls ActionManual and returns the results of the completions it posted.
  std::vector<LPARAM> act(const ActionParams* params, std::int32_t actionId) {
    host.clear();
    EXPECT_TRUE(actionManual(params, actionId));
    host.pumpPending();
    std::vector<LPARAM> results;
    for (const harness::HostMessage& done : host.dones()) {
      EXPECT_EQ(done.wParam, static_cast<WPARAM>(static_cast<std::intptr_t>(actionId)));
      EXPECT_FALSE(done.sent);
      results.push_back(done.lParam);
    }
    EXPECT_EQ(host.messages().size(), results.size()) << "only completions reach the host";
    return results;
  }

  std::vector<LPARAM> act(const char* word, std::int32_t actionId = 7) {
    ActionParams params{};
    params.count = 1;
    params.value[0] = reinterpret_cast<contract::ParamSlot>(word);
    return act(&params, actionId);
  }
};

struct WordCase {
  const char* word;
  WPARAM code;
};

TEST_F(LumidorTest, EveryWordReachesThePlayerAcrossThreads) {
  // Read from the table the player understands, written out independently of the plug-in.
  const WordCase cases[] = {
      {"VERSION", 0},
      {"FILE_OPEN", 40},
      {"FILE_INFO", 41},
      {"PLAYBACK_STOP", 100},
      {"PLAYBACK_PLAY", 101},
      {"playback_play", 101},
      {"PlayBack_Play", 101},
      {"PLAYBACK_FILTERS", 104},
      {"SEEK_FRAME_STEP", 150},
      {"SEEK_SET_BOOKMARK", 157},
      {"WINDOW_CONTROL_PANEL", 200},
      {"WINDOW_MAXIMIZE", 206},
      {"PLAYLIST_NEXT", 250},
      {"PLAYLIST_BOOKMARKS", 264},
      {"VIDEO_PROPERTIES", 300},
      {"VIDEO_RATIO_16_9", 306},
      {"VIDEO_SATURATION_DEC", 319},
      {"SUBTITLES_LOAD", 350},
      {"SUBTITLES_SHOW", 351},
      {"SOUND_PROPERTIES", 400},
      {"SOUND_ADD", 404},
      {"APPLICATION_PREFERENCES", 450},
      {"APPLICATION_POWER_OFF", 454},
  };
  standins::PlayerStandIn player(0x5A5A);
  std::int32_t id = 100;
  for (const WordCase& c : cases) {
    player.clear();
    EXPECT_EQ(act(c.word, ++id), std::vector<LPARAM>{0x5A5A}) << c.word;
    const auto received = player.received();
    ASSERT_EQ(received.size(), 1u) << c.word;
    EXPECT_EQ(received[0].message, 0x89C8u);
    EXPECT_EQ(received[0].wParam, c.code) << c.word;
    EXPECT_EQ(received[0].lParam, 0);
    EXPECT_TRUE(received[0].sent) << "a synchronous send from the host's thread";
  }
}

TEST_F(LumidorTest, ThePlayersAnswerIsTheResult) {
  standins::PlayerStandIn player;
  for (LRESULT answer : {LRESULT{0}, LRESULT{-1}, LRESULT{0x7FFFFFFF}}) {
    player.setAnswer(answer);
    EXPECT_EQ(act("VERSION"), std::vector<LPARAM>{answer});
  }
}

TEST_F(LumidorTest, GetHandleAndAbsentPlayer) {
  {
    standins::PlayerStandIn player;
    EXPECT_EQ(act("Get_Handle"), std::vector<LPARAM>{reinterpret_cast<LPARAM>(player.hwnd())});
    EXPECT_TRUE(player.received().empty());
  }
  for (const char* word : {"GET_HANDLE", "PLAYBACK_PLAY", "VERSION"}) {
    EXPECT_EQ(act(word), std::vector<LPARAM>{0}) << word;
  }
}

TEST_F(LumidorTest, SecondParameterIsAcceptedAndUnused) {
  standins::PlayerStandIn player;
  for (std::int32_t kind : {0, 1}) {
    ActionParams params{};
    params.count = 2;
    params.value[0] = reinterpret_cast<contract::ParamSlot>("SOUND_MUTE");
    params.kind[1] = kind;
    params.value[1] = kind == 0 ? reinterpret_cast<contract::ParamSlot>("anything") : -42;
    player.clear();
    EXPECT_EQ(act(&params, -3), std::vector<LPARAM>{1});
    ASSERT_EQ(player.received().size(), 1u);
    EXPECT_EQ(player.received()[0].wParam, 403u);
    EXPECT_EQ(player.received()[0].lParam, 0);
  }
}

TEST_F(LumidorTest, BadInputGivesZeroOnceAndSendsNothing) {
  standins::PlayerStandIn player;
  std::vector<ActionParams> blocks;
  for (std::int32_t count : {-1, 0, 3, 5, INT_MAX}) {
    ActionParams params{};
    params.count = count;
    params.value[0] = reinterpret_cast<contract::ParamSlot>("PLAYBACK_PLAY");
    blocks.push_back(params);
  }
  ActionParams numberFirst{};
  numberFirst.count = 1;
  numberFirst.kind[0] = 1;
  numberFirst.value[0] = 101;
  blocks.push_back(numberFirst);
  ActionParams nullText{};
  nullText.count = 1;
  blocks.push_back(nullText);
  for (const ActionParams& params : blocks) {
    EXPECT_EQ(act(&params, INT_MIN), std::vector<LPARAM>{0}) << params.count;
  }
  EXPECT_EQ(act(static_cast<const ActionParams*>(nullptr), 5), std::vector<LPARAM>{0});
  const std::string huge(10000, 'A');
  for (const char* word : {huge.c_str(), "PLAYBACK_PLAY ", "PLAYBACK", "\xD0\xCB\xE9\xFF", ""}) {
    EXPECT_EQ(act(word), std::vector<LPARAM>{0});
  }
  EXPECT_TRUE(player.received().empty());
}

TEST_F(LumidorTest, OpenAgainReplacesTheHostWindow) {
  harness::RecordingHost second;
  EXPECT_STREQ(open("ignored", second.hwnd(), 99), "Lumidor control");
  ActionParams params{};
  params.count = 0;
  EXPECT_TRUE(actionManual(&params, 1));
  second.pumpPending();
  host.pumpPending();
  EXPECT_EQ(second.dones().size(), 1u);
  EXPECT_TRUE(host.dones().empty());
}

}  // namespace
