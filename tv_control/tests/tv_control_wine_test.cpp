// Korvid.dll's commands under Wine: the real exports, a host window on the test's thread and the
// stand-in TV screen on a thread of its own.
#include <climits>

#include "korvid_fixture.h"

namespace korvid_tests {
namespace {

struct Expected {
  UINT message;
  WPARAM wParam;
};

TEST_F(KorvidTest, EveryWordReachesTheScreenWithItsWParam) {
  // The application's messages, written out independently of the plug-in; parameter 1 is 40 for
  // every word.
  const struct {
    const char* word;
    Expected expected;
  } cases[] = {
      {"HIDEME", {1221, 0}},
      {"SHOWME", {1222, 0}},
      {"CHANNEL", {1223, 40}},
      {"CHANNELPLUS", {1224, 0}},
      {"CHANNELMINUS", {1225, 0}},
      {"VOLUME", {1226, 40}},
      {"VOLUMEPLUS", {1227, 0}},
      {"VOLUMEMINUS", {1228, 0}},
      {"VOLUME2", {1229, 40}},
      {"VOLUME2PLUS", {1230, 0}},
      {"VOLUME2MINUS", {1231, 0}},
      {"BRIGHTNESS", {1232, 40}},
      {"BRIGHTNESSPLUS", {1233, 0}},
      {"BRIGHTNESSMINUS", {1234, 0}},
      {"CONTRAST", {1235, 40}},
      {"CONTRASTPLUS", {1236, 0}},
      {"CONTRASTMINUS", {1237, 0}},
      {"HUE", {1238, 40}},
      {"HUEPLUS", {1239, 0}},
      {"HUEMINUS", {1240, 0}},
      {"SATURATION", {1241, 40}},
      {"SATURATIONPLUS", {1242, 0}},
      {"SATURATIONMINUS", {1243, 0}},
      {"STARTCAPTUREAVI", {1244, 0}},
      {"STOPCAPTUREAVI", {1245, 0}},
      {"STARTCAPTUREMPEG", {1246, 0}},
      {"STOPCAPTUREMPEG", {1247, 0}},
      {"STARTCAPTUREWAV", {1248, 0}},
      {"STOPCAPTUREWAV", {1249, 0}},
      {"STARTCAPTURESNAP", {1250, 0}},
      {"STOPCAPTURESNAP", {1251, 0}},
      {"SNAPSHOT", {1252, 0}},
      {"MUTETRIGGER", {1253, 0}},
      {"MUTEON", {1254, 0}},
      {"MUTEOFF", {1255, 0}},
      {"KEEPSOUNDTRIGGER", {1256, 0}},
      {"KEEPSOUNDON", {1257, 0}},
      {"KEEPSOUNDOFF", {1258, 0}},
      {"TOPMOSTTRIGGER", {1259, 0}},
      {"TOPMOSTON", {1260, 0}},
      {"TOPMOSTOFF", {1261, 0}},
      {"SOURCE", {1262, 0}},
      {"SOURCETV", {1263, 0}},
      {"SOURCEAV", {1264, 0}},
      {"SOURCESVHS", {1265, 0}},
      {"SYSTEM", {1266, 0}},
      {"SYSTEMNTSC", {1267, 0}},
      {"SYSTEMPAL", {1268, 0}},
      {"SYSTEMSECAM", {1269, 0}},
      {"FREQ", {1270, 40}},
      {"FREQPLUS", {1271, 0}},
      {"FREQMINUS", {1272, 0}},
      {"PAUSECAPTUREAVI", {1273, 0}},
      {"PAUSECAPTUREMPEG", {1274, 0}},
      {"SHOWAVI", {1275, 0}},
      {"SHOWMPEG", {1276, 0}},
      {"FULLSCREEN", {1277, 0}},
      {"SIZE34", {1278, 0}},
      {"QUIT", {1279, 0}},
      {"OSDSHOWTIME", {1280, 0}},
      {"CHANNEL0", {1324, 0}},
      {"CHANNEL1", {1325, 0}},
      {"CHANNEL2", {1326, 0}},
      {"CHANNEL3", {1327, 0}},
      {"CHANNEL4", {1328, 0}},
      {"CHANNEL5", {1329, 0}},
      {"CHANNEL6", {1330, 0}},
      {"CHANNEL7", {1331, 0}},
      {"CHANNEL8", {1332, 0}},
      {"CHANNEL9", {1333, 0}},
      {"CHANNEL10", {1334, 0}},
      {"CHANNELPREV", {1354, 0}},
      {"FREEZEPREVIEW", {1355, 0}},
      {"TVFM", {1356, 0}},
      {"volume", {1226, 40}},
      {"Channel1", {1325, 0}},
      {"systemPal", {1268, 0}},
  };
  standins::TvScreenStandIn screen;
  for (const auto& c : cases) {
    screen.clear();
    EXPECT_EQ(act(c.word, 2, 40), std::vector<LPARAM>{1}) << c.word;
    const auto received = receivedBy(screen, 1);
    ASSERT_EQ(received.size(), 1u) << c.word;
    EXPECT_EQ(received[0].message, c.expected.message) << c.word;
    EXPECT_EQ(received[0].wParam, c.expected.wParam) << c.word;
    EXPECT_EQ(received[0].lParam, 0) << c.word;
    EXPECT_FALSE(received[0].sent) << "posted, never sent";
  }
  // The ten digit words, each alone (window -1): WPARAM is the digit less one, 9 for 0.
  for (int digit = 0; digit <= 9; ++digit) {
    screen.clear();
    const std::string word = "PRESS" + std::to_string(digit);
    EXPECT_EQ(act(word.c_str(), 2, -1), std::vector<LPARAM>{1});
    const auto received = receivedBy(screen, 1);
    ASSERT_EQ(received.size(), 1u) << word;
    EXPECT_EQ(received[0].message, 1223u);
    EXPECT_EQ(received[0].wParam, static_cast<WPARAM>(digit == 0 ? 9 : digit - 1)) << word;
  }
  EXPECT_TRUE(host.events().empty());
}

TEST_F(KorvidTest, DigitsJoinOnTheModulesClockAndChannelLeavesThemAlone) {
  standins::TvScreenStandIn screen;
  const std::int32_t wide = 60'000;
  EXPECT_EQ(act("PRESS1", 2, wide), std::vector<LPARAM>{1});
  EXPECT_EQ(act("CHANNEL", 2, 12), std::vector<LPARAM>{1});
  EXPECT_EQ(act("press2", 1, wide), std::vector<LPARAM>{1}) << "count 1: the window is in the slot all the same";
  EXPECT_EQ(act("PRESS3", 2, wide), std::vector<LPARAM>{1}) << "12 is above 9: starts anew";
  EXPECT_EQ(act("PRESS4", 2, -1), std::vector<LPARAM>{1}) << "a negative window: alone";
  const auto received = receivedBy(screen, 5);
  std::vector<WPARAM> wParams;
  for (const auto& message : received) wParams.push_back(message.wParam);
  EXPECT_EQ(wParams, (std::vector<WPARAM>{0, 12, 11, 2, 3}));
}

TEST_F(KorvidTest, GetHandleAnswersWithoutPosting) {
  {
    standins::TvScreenStandIn screen;
    EXPECT_EQ(act("Get_Handle"), std::vector<LPARAM>{reinterpret_cast<LPARAM>(screen.hwnd())});
    Sleep(30);
    EXPECT_TRUE(screen.received().empty());
  }
  for (const char* word : {"GET_HANDLE", "HIDEME", "PRESS1", "GET_TITLE_EVENT"}) {
    EXPECT_EQ(act(word, 2, 1000), std::vector<LPARAM>{0}) << word << " without a screen window";
  }
  EXPECT_TRUE(host.events().empty());
}

TEST_F(KorvidTest, BadInputGivesZeroOnceAndPostsNothing) {
  standins::TvScreenStandIn screen;
  std::vector<ActionParams> blocks;
  for (std::int32_t count : {0, -1, INT_MIN}) blocks.push_back(harness::WordBlock("HIDEME", count));
  blocks.push_back(harness::WordBlock(nullptr));
  ActionParams numberFirst = harness::WordBlock("HIDEME");
  numberFirst.kind[0] = 1;
  numberFirst.value[0] = 1221;
  blocks.push_back(numberFirst);
  const std::string huge(10000, 'C');
  for (const char* word : {huge.c_str(), "CHANNEL11", "CHANNEL ", "SYSTEMPALX", "PRESS", "", "\xC3\xA9"}) {
    blocks.push_back(harness::WordBlock(word, 2));
  }
  for (const ActionParams& params : blocks) EXPECT_EQ(act(&params, INT_MIN), std::vector<LPARAM>{0});
  EXPECT_EQ(act(static_cast<const ActionParams*>(nullptr), 3), std::vector<LPARAM>{0});
  EXPECT_EQ(act("TVFM", INT_MAX), std::vector<LPARAM>{1}) << "no upper bound on the count";
  const auto received = receivedBy(screen, 1);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, 1356u);
  EXPECT_TRUE(host.events().empty());
}

TEST_F(KorvidTest, OpenNamesTheInstance) {
  standins::ApplicationWindowStandIn application("The Korvid - News (12)");
  standins::TvScreenStandIn screen;
  const std::string longName(100, 'k');
  for (const auto& [name, stored] : {std::pair<const char*, std::string>{nullptr, "KORVID"},
                                     {longName.c_str(), longName.substr(0, 63)},
                                     {"Tuner", "Tuner"}}) {
    ASSERT_STREQ(open(name, host.hwnd(), 0), "Korvid control");
    EXPECT_EQ(act("GET_TITLE_EVENT"), std::vector<LPARAM>{1});
    const auto events = host.events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].instanceName, stored);
  }
}

}  // namespace
}  // namespace korvid_tests
