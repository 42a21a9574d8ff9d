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

TEST_F(JubelonTest, EveryWordReachesTheManagerWithItsCodeAndArgument) {
  // The manager's 134 words and codes, written out independently of the plug-in; a few in other
  // letter cases.
  const struct {
    const char* word;
    WPARAM code;
  } cases[] = {
      {"PLAY_PAUSE", 10000},
      {"play", 10001},
      {"STOP", 10002},
      {"NEXT", 10003},
      {"PREVIOUS", 10004},
      {"SHUFFLE", 10005},
      {"CONTINUOUS", 10006},
      {"UPDATE_VIS", 10007},
      {"FAST_FORWARD", 10008},
      {"REWIND", 10009},
      {"STOP_CONDITIONAL", 10010},
      {"SET_ZONE", 10011},
      {"TOGGLE_FULLSCREEN", 10012},
      {"SHOW_WINDOW", 10013},
      {"MINIMIZE_WINDOW", 10014},
      {"PLAY_CPLDB_INDEX", 10015},
      {"SHOW_DSP_STUDIO", 10016},
      {"VOLUME_MUTE", 10017},
      {"VOLUME_UP", 10018},
      {"VOLUME_DOWN", 10019},
      {"Volume_Set", 10020},
      {"SHOW_PLAYBACK_OPTIONS", 10021},
      {"SET_PAUSE", 10022},
      {"SET_CURRENTLY_PLAYING_RATING", 10023},
      {"SHOW_PLAYBACK_ENGINE_MENU", 10024},
      {"PLAY_PLAYLIST", 10025},
      {"PLAY_NEXT_PLAYLIST", 10026},
      {"PLAY_PREVIOUS_PLAYLIST", 10027},
      {"OPEN_FILE", 20000},
      {"OPEN_URL", 20001},
      {"PRINT", 20002},
      {"EXPORT_PLAYLIST", 20003},
      {"EXPORT_ALL_PLAYLISTS", 20004},
      {"UPLOAD_FILES", 20005},
      {"EMAIL_FILES", 20006},
      {"EXIT", 20007},
      {"UPDATE_LIBRARY", 20008},
      {"CLEAR_LIBRARY", 20009},
      {"EXPORT_LIBRARY", 20010},
      {"BACKUP_LIBRARY", 20011},
      {"RESTORE_LIBRARY", 20012},
      {"LIBRARY_MANAGER", 20013},
      {"ACQUIRE_IMAGE", 20014},
      {"COPY", 21000},
      {"PASTE", 21001},
      {"SELECT_ALL", 21002},
      {"SELECT_INVERT", 21003},
      {"DELETE", 21004},
      {"RENAME", 21005},
      {"UNDO", 21006},
      {"REDO", 21007},
      {"QUICK_SEARCH", 21008},
      {"ADD_PLAYLIST", 21009},
      {"ADD_SMARTLIST", 21010},
      {"ADD_PLAYLIST_GROUP", 21011},
      {"PROPERTIES", 21012},
      {"MINIME", 22000},
      {"FULLSCREEN", 22001},
      {"PARTY_MODE", 22002},
      {"SHOW_TREE_ROOT", 22003},
      {"FIND_MUSIC", 22004},
      {"BACK", 22005},
      {"FORWARD", 22006},
      {"REFRESH", 22007},
      {"SET_LIST_STYLE", 22008},
      {"SET_MODE", 22009},
      {"SHOW_ARTISTINFO", 22010},
      {"SHOW_FINDCD", 22011},
      {"SHOW_RECENTLYIMPORTED", 22012},
      {"SHOW_TOPHITS", 22013},
      {"SHOW_RECENTLYPLAYED", 22014},
      {"IMPORT", 23000},
      {"RIP", 23001},
      {"BURN", 23002},
      {"RECORD", 23003},
      {"CONVERT", 23004},
      {"ANALYZE_AUDIO", 23005},
      {"MEDIA_EDITOR", 23006},
      {"CD_LABELER", 23007},
      {"DOWNLOAD_MANAGER", 23008},
      {"MEDIA_SERVER", 23009},
      {"MUSICEX_MANAGER", 23010},
      {"PLUGIN_MANAGER", 23011},
      {"SKIN_MANAGER", 23012},
      {"OPTIONS", 23013},
      {"HELP_CONTENTS", 24000},
      {"HELP_HOWTO_IMPORT_FILES", 24001},
      {"HELP_HOWTO_PLAY_FILES", 24002},
      {"HELP_HOWTO_RIP", 24003},
      {"HELP_HOWTO_BURN", 24004},
      {"HELP_HOWTO_ORGANIZE_FILES", 24005},
      {"HELP_HOWTO_VIEW_SCHEMES", 24006},
      {"HELP_HOWTO_MANAGE_PLAYLISTS", 24007},
      {"HELP_HOWTO_EDIT_PROPERTIES", 24008},
      {"HELP_HOWTO_FIND", 24009},
      {"HELP_HOWTO_CONFIGURE", 24010},
      {"CHECK_FOR_UPDATES", 24011},
      {"INTERACT", 24016},
      {"SYSTEM_INFO", 24017},
      {"ABOUT", 24018},
      {"ADD_VIEW_SCHEME", 25000},
      {"EDIT_VIEW_SCHEME", 25001},
      {"DELETE_VIEW_SCHEME", 25002},
      {"ADD_VIEW_SCHEME_GROUP", 25003},
      {"EDIT_VIEW_SCHEME_GROUP", 25004},
      {"DELETE_VIEW_SCHEME_GROUP", 25005},
      {"TREE_PLAY", 25006},
      {"TREE_ADD_TO_PLAYING_NOW", 25007},
      {"TREE_ADD_DIRECTORY", 25008},
      {"TREE_IMPORT", 25009},
      {"TREE_ADD_CD_FOLDER", 25010},
      {"UPDATE_FROM_CD_DATABASE", 25011},
      {"SUBMIT_TO_CD_DATABASE", 25012},
      {"TREE_RIP", 25013},
      {"CLEAR_PLAYING_NOW", 25014},
      {"COPY_LISTENING_TO", 25015},
      {"TREE_COLLAPSE_ALL", 25016},
      {"RESET_VIEW_SCHEMES", 25017},
      {"LIST_UPDATE_ORDER", 26000},
      {"LIST_SHUFFLE_ORDER", 26001},
      {"LIST_IMPORT", 26002},
      {"LIST_REMOVE_ORDER", 26003},
      {"LOCATE_FILE", 26004},
      {"MOVE_COPY_DISK_FILES", 26005},
      {"KEYSTROKE", 27000},
      {"SHUTDOWN", 27001},
      {"RELOAD_RIGHT_VIEW", 30000},
      {"CUSTOMIZE_TOOLBAR", 30001},
      {"ARTIST_INFO", 30002},
      {"PLAY_TV", 30003},
      {"UPDATE_WEBPAGES", 30004},
      {"SHOW_RUNNING_MC", 30005},
      {"SHOW_MENU", 30006},
      {"tune_Tv", 30007},
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
