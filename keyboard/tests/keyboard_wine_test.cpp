// Keyboard.dll under Wine: lifecycle, settings, key messages posted to its window, bad input.
#include <random>

#include "keyboard_fixture.h"

namespace keyboard_tests {
namespace {

TEST_F(KeyboardTest, OpenMakesTheHiddenWindowAndCloseEndsIt) {
  ASSERT_NE(setupFormExport, nullptr);
  EXPECT_EQ(*setupFormExport, nullptr);
  const HWND form = openWith(nullptr);
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ(GetWindow(form, GW_OWNER), host.hwnd());
  char caption[64] = {};
  GetWindowTextA(form, caption, sizeof caption);
  EXPECT_STREQ(caption, "Keyboard events/emulation");
  EXPECT_NE(*setupFormExport, nullptr);

  // A second Open keeps the window.
  EXPECT_EQ(openWith(nullptr), form);
  close();
  EXPECT_EQ(*setupFormExport, nullptr);
  EXPECT_EQ(formWindow(), nullptr);
  close();  // twice: harmless
}

TEST_F(KeyboardTest, EventsCarryTheInstanceName) {
  const std::string longName(100, 'n');
  HWND form = openWith(nullptr, longName.c_str());
  postKey(form, 'A', 0x1E, false);
  postKey(form, 'A', 0x1E, true);
  waitForEvents(2);
  const auto sent = host.events();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].instanceName, longName.substr(0, 63));
  EXPECT_TRUE(sent[0].sent);
  EXPECT_FALSE(sent[0].fromOtherThread);
  EXPECT_EQ(sent[0].ext, "");
  close();
  host.clear();
  form = openWith(nullptr);
  postKey(form, 'A', 0x1E, false);
  ASSERT_EQ(waitForEvents(1).size(), 1u);
  EXPECT_EQ(host.events()[0].instanceName, "KEY");
  // Every event hands over the same record.
  EXPECT_EQ(host.events()[0].wParam, sent[0].wParam);
}

TEST_F(KeyboardTest, HookModeKeyMessagesBecomeEvents) {
  const HWND form = openWith(kHookModeLowLevel);
  postKey(form, VK_CONTROL, 0x1D, false);
  postKey(form, 'C', 0x2E, false);
  postKey(form, 'C', 0x2E, false);
  postKey(form, 'C', 0x2E, true);
  postKey(form, VK_CONTROL, 0x1D, true);
  EXPECT_EQ(waitForEvents(7),
            (std::vector<Event>{
                {"Ctrl", 0}, {"Ctrl", -1}, {"Ctrl+C", 0}, {"Ctrl+C", 1}, {"Ctrl+C", -1}, {"Ctrl", 0}, {"Ctrl", -1}}));
  host.clear();
  // Key codes: 0x45 is Pause, 0x153 Delete, 0x15B the left Windows key.
  postKey(form, VK_LWIN, 0x15B, false);
  postKey(form, VK_MENU, 0x38, false);
  postKey(form, VK_DELETE, 0x153, false);
  postKey(form, VK_DELETE, 0x153, true);
  postKey(form, VK_PAUSE, 0x45, false);
  postKey(form, VK_PAUSE, 0x45, true);
  postKey(form, VK_MENU, 0x38, true);
  EXPECT_EQ(waitForEvents(12), (std::vector<Event>{{"Left Windows", 0},
                                                   {"Left Windows", -1},
                                                   {"Alt+Left Windows", 0},
                                                   {"Alt+Left Windows", -1},
                                                   {"Alt+Left Windows+Delete", 0},
                                                   {"Alt+Left Windows+Delete", -1},
                                                   {"Alt", 0},
                                                   {"Alt", -1},
                                                   {"Alt+Pause", 0},
                                                   {"Alt+Pause", -1},
                                                   {"Alt", 0},
                                                   {"Alt", -1}}));
}

TEST_F(KeyboardTest, DirectInputModeTakesTableCodes) {
  const HWND form = openWith(nullptr);  // no file: DirectInput
  postKey(form, 0, 0x45, false);
  postKey(form, 0, 0x45, true);
  postKey(form, 0, 0xC7, false);
  postKey(form, 0, 0xC7, true);
  EXPECT_EQ(waitForEvents(4), (std::vector<Event>{{"Num Lock", 0}, {"Num Lock", -1}, {"Home", 0}, {"Home", -1}}));
}

TEST_F(KeyboardTest, HotkeysRepeatWithoutRelease) {
  const HWND form = openWith(kHookModeLowLevel);
  // One press at a time, as a person presses them: each hotkey's key message follows it.
  for (int i = 0; i < 3; ++i) {
    PostMessageA(form, WM_HOTKEY, 7, MAKELPARAM(MOD_CONTROL, 'Q'));
    host.pumpPending();
  }
  PostMessageA(form, WM_HOTKEY, 8, MAKELPARAM(MOD_WIN, 'E'));
  EXPECT_EQ(waitForEvents(5),
            (std::vector<Event>{{"Ctrl+Q", 0}, {"Ctrl+Q", 1}, {"Ctrl+Q", 2}, {"Ctrl+Q", -1}, {"Left Windows+E", 0}}));
}

struct SettingsCase {
  const char* file;
  bool directInput;
};

TEST_F(KeyboardTest, SettingsFileChoosesTheMode) {
  // Key code 0x45 is Pause in hook mode; as a DirectInput table code it is Num Lock.
  const SettingsCase cases[] = {
      {nullptr, true},
      {"", true},
      {"[Setup]\nUseDirectInput=0\n", false},
      {"[Setup]\nUseDirectInput=0x0\n", false},
      {"[Setup]\nUseDirectInput=000\n", false},
      {"[Setup]\nUseDirectInput=0x10\n", true},
      {"[Setup]\nUseDirectInput=-1\n", true},
      {"[Setup]\nUseDirectInput=\n", true},
      {"[Setup]\nUseDirectInput=no\n", true},
      {"[Setup]\nUseDirectInput=0 0\n", true},
      {"[setup]\nusedirectinput=0\n", false},
      {"[Layout]\nUseDirectInput=0\n", true},
      {"\x01\x02garbage\n[Setup\nUseDirectInput=0\n", true},
  };
  for (const SettingsCase& c : cases) {
    host.clear();
    const HWND form = openWith(c.file);
    postKey(form, 0, 0x45, false);
    postKey(form, 0, 0x45, true);
    const std::vector<Event> expected{{c.directInput ? "Num Lock" : "Pause", 0},
                                      {c.directInput ? "Num Lock" : "Pause", -1}};
    EXPECT_EQ(waitForEvents(2), expected) << (c.file ? c.file : "(no file)");
    close();
  }
}

TEST_F(KeyboardTest, OverlongSettingsLinesAreHarmless) {
  std::string text = "[Layout]\nEnglish=" + std::string(70000, 'x') +
                     "\n[Setup]\nUseDirectInput=" + std::string(5000, '0') + "\nUseLLHook=" + std::string(3000, '1') +
                     "\n";
  const HWND form = openWith(text.c_str());
  postKey(form, 0, 0x45, false);
  // Five thousand zeros are still the number zero.
  EXPECT_EQ(waitForEvents(1), (std::vector<Event>{{"Pause", 0}}));
}

TEST_F(KeyboardTest, ActionsAreRefusedWithTheReport) {
  openWith(nullptr);
  ActionParams params{};
  params.count = 2;
  params.value[0] = reinterpret_cast<contract::ParamSlot>("HOLD");
  params.value[1] = reinterpret_cast<contract::ParamSlot>("Q");
  EXPECT_TRUE(actionManual(&params, 41));
  EXPECT_TRUE(actionManual(nullptr, 42));
  host.pumpPending();
  const auto logs = host.logs();
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(logs[0].logText, "Invalid params: Keyboard.ActionManual(\"HOLD\",\"Q\")");
  EXPECT_EQ(logs[1].logText, "Invalid params: Keyboard.ActionManual()");
  const auto dones = host.dones();
  ASSERT_EQ(dones.size(), 2u);
  EXPECT_EQ(dones[0].wParam, 41u);
  EXPECT_EQ(dones[0].lParam, 0);
  EXPECT_EQ(dones[1].wParam, 42u);
  startManual(nullptr);
  startManual(&params);
  stopManual(&params);
  host.pumpPending();
  EXPECT_EQ(host.messages().size(), 4u);
}

TEST_F(KeyboardTest, EntryPointsInAnyOrderAreHarmless) {
  close();
  start();
  stop();
  stop();
  const int threadsBefore = ThreadsOfThisProcess();
  openWith(kHookModeLowLevel);
  start();
  start();  // again while running: retargets
  EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore + 1) << "one hook thread";
  stop();
  stop();
  start();
  close();
  close();
  EXPECT_EQ(formWindow(), nullptr);
  EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore) << "the hook thread ended";
}

TEST_F(KeyboardTest, RandomKeyMessagesInBothModes) {
  std::mt19937 random(20261211);
  for (const char* settings : {kHookModeLowLevel, static_cast<const char*>(nullptr)}) {
    const HWND form = openWith(settings);
    for (int i = 0; i < 10000; ++i) {
      const DWORD lParam = static_cast<DWORD>(random());
      const int code = static_cast<int>(random() % 512);
      PostMessageA(form, WM_USER, random(), static_cast<LPARAM>((lParam & 0xFE00FFFFu) | code << 16));
      if (i % 500 == 0) PostMessageA(form, WM_HOTKEY, 1, static_cast<LPARAM>(random()));
      if (i % 100 == 0) host.pumpPending();
    }
    host.pumpFor(100);
    for (const harness::HostMessage& m : host.events()) {
      EXPECT_LT(m.eventText.size(), 124u);
      EXPECT_GE(m.lParam, -1);
    }
    close();
    host.clear();
  }
}

}  // namespace
}  // namespace keyboard_tests
