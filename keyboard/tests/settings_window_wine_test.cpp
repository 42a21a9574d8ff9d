// Keyboard.dll under Wine: the settings window that Setup shows modally, driven from a helper
// thread by its controls while the test's thread runs the modal loop inside Setup.
#include <atomic>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "host_block.h"
#include "keyboard_fixture.h"
#include "setup_form_controls.h"

namespace keyboard_tests {
namespace {

using keyboard::testing::HostBlock;
using keyboard::win::Control;
using keyboard::win::ControlId;

HWND Item(HWND form, Control control) { return GetDlgItem(form, ControlId(control)); }

std::string Caption(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

std::string ClipboardText() {
  std::string text = "(no text)";
  if (!OpenClipboard(nullptr)) return "(not opened)";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) text = bytes;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

std::string SettingsFileText() {
  std::ifstream file(ExeFolder() + "Keyboard.ini", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  std::string result;
  for (char c : text.str()) {
    if (c != '\r') result += c;
  }
  return result;
}

// Runs `script` on a thread of its own once the settings window is visible; closes the window
// with the system menu when the script leaves it open (or never saw it).
class ModalDriver {
 public:
  explicit ModalDriver(std::function<void(HWND form)> script)
      : thread_([this, script = std::move(script)] {
          const HWND form = FindWindowA("TSetupForm", nullptr);
          sawWindow = WaitFor([&] { return IsWindowVisible(form) != FALSE; });
          if (sawWindow) script(form);
          if (IsWindowVisible(form)) PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        }) {}
  ~ModalDriver() { join(); }
  void join() {
    if (thread_.joinable()) thread_.join();
  }
  std::atomic<bool> sawWindow{false};

 private:
  std::thread thread_;
};

struct Shown {
  std::map<Control, std::string> captions;
  std::map<Control, bool> checked, enabled;
};

Shown ReadControls(HWND form) {
  Shown shown;
  for (const auto& row : keyboard::win::kControls) {
    const HWND control = Item(form, row.control);
    shown.captions[row.control] = Caption(control);
    shown.checked[row.control] = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    shown.enabled[row.control] = IsWindowEnabled(control) != FALSE;
  }
  return shown;
}

constexpr const char* kFullSettings =
    "[Layout]\nEnglish=Ctrl+Alt+E\nInternational=Ctrl+Shift\n"
    "[Setup]\nWin9xMode=0\nUseDirectInput=0\nUseLLHook=1\nMediaDisable=1\n";

TEST_F(KeyboardTest, SettingsWindowHasTheControlsCaptionsAndLayout) {
  const SettingsFile cleanUp(nullptr);
  const HWND form = openWith(nullptr);
  RECT client{};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, 447);
  EXPECT_EQ(client.bottom, 238);
  const LONG_PTR style = GetWindowLongPtrA(form, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_NE(SendMessageA(form, WM_GETICON, ICON_BIG, 0), 0);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Item(form, Control::KeysPanel), WM_GETFONT, 0, 0)), sizeof font,
             &font);
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(font.lfHeight, -11);

  struct Place {
    Control control;
    RECT rect;
  };
  const Place places[] = {
      {Control::GroupBox1, {0, 0, 309, 69}},
      {Control::GroupBox2, {0, 69, 309, 168}},
      {Control::GroupBox3, {0, 168, 309, 206}},
      {Control::GroupBox4, {309, 0, 447, 206}},
  };
  for (const Place& place : places) {
    RECT rect{};
    GetWindowRect(Item(form, place.control), &rect);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, place.rect.left);
    EXPECT_EQ(rect.top, place.rect.top);
    EXPECT_EQ(rect.right, place.rect.right);
    EXPECT_EQ(rect.bottom, place.rect.bottom);
  }
  RECT close{};
  GetWindowRect(Item(form, Control::CloseButton), &close);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&close), 2);
  EXPECT_GE(close.top, 206) << "in the bar at the bottom";
  EXPECT_LT(close.left, 100) << "on the left";

  const Shown shown = ReadControls(form);
  const std::map<Control, std::string> captions{
      {Control::GroupBox1, "Keyboard layout hotkeys"},
      {Control::Label2, "English"},
      {Control::Button1, "Assign"},
      {Control::Label3, "International"},
      {Control::Button2, "Assign"},
      {Control::GroupBox2, "Monitoring"},
      {Control::DirectInputCheck, "Use DirectInput8"},
      {Control::CopyClipButton, "Copy to clipboard"},
      {Control::MediaDisableCheck, "Prevent actions for multimedia keys"},
      {Control::UseLLHookCheck, "Use Low Level keyboard hook (Windows 2000/XP only)"},
      {Control::GroupBox3, "Emulation"},
      {Control::KeybEventCheck, "Win9x compatibility mode"},
      {Control::GroupBox4, "Registered hotkeys"},
      {Control::CloseButton, "Close"},
  };
  for (const auto& [control, caption] : captions) EXPECT_EQ(shown.captions.at(control), caption);
}

TEST_F(KeyboardTest, ShowingFillsTheControlsFromTheSettings) {
  const SettingsFile cleanUp(nullptr);
  for (const char* settings : {static_cast<const char*>(nullptr), kFullSettings}) {
    openWith(settings);
    Shown shown;
    ModalDriver driver([&](HWND form) { shown = ReadControls(form); });
    setup();
    ASSERT_TRUE(driver.sawWindow);
    const bool defaults = settings == nullptr;
    EXPECT_EQ(shown.captions[Control::Panel4], defaults ? "Alt+Shift" : "Ctrl+Alt+E");
    EXPECT_EQ(shown.captions[Control::Panel5], defaults ? "Alt+Shift" : "Ctrl+Shift");
    EXPECT_EQ(shown.checked[Control::KeybEventCheck], defaults);
    EXPECT_EQ(shown.checked[Control::DirectInputCheck], defaults);
    EXPECT_EQ(shown.checked[Control::UseLLHookCheck], !defaults);
    EXPECT_EQ(shown.checked[Control::MediaDisableCheck], !defaults);
    EXPECT_EQ(shown.enabled[Control::UseLLHookCheck], !defaults) << "greyed while DirectInput is checked";
    EXPECT_EQ(shown.enabled[Control::MediaDisableCheck], !defaults);
    close();
  }
}

TEST_F(KeyboardTest, AssignAndCopyTakeTheHeldCombinationAndClosingWritesTheFile) {
  const SettingsFile cleanUp(nullptr);
  const HWND form = openWith(kHookModeLowLevel);
  std::string keysHeld, english, copied, keysAfter, copiedEmpty;
  ModalDriver driver([&](HWND shown) {
    postKey(shown, VK_CONTROL, 0x1D, false);
    postKey(shown, VK_SHIFT, 0x2A, false);
    WaitFor([&] { return Caption(Item(shown, Control::KeysPanel)) == "Ctrl+Shift"; });
    keysHeld = Caption(Item(shown, Control::KeysPanel));
    SendMessageA(Item(shown, Control::Button1), BM_CLICK, 0, 0);
    english = Caption(Item(shown, Control::Panel4));
    SendMessageA(Item(shown, Control::CopyClipButton), BM_CLICK, 0, 0);
    copied = ClipboardText();
    postKey(shown, VK_SHIFT, 0x2A, true);
    postKey(shown, VK_CONTROL, 0x1D, true);
    WaitFor([&] { return Caption(Item(shown, Control::KeysPanel)).empty(); });
    keysAfter = Caption(Item(shown, Control::KeysPanel));
    SendMessageA(Item(shown, Control::Button2), BM_CLICK, 0, 0);  // nothing held: an empty hotkey
    SendMessageA(Item(shown, Control::CopyClipButton), BM_CLICK, 0, 0);
    copiedEmpty = ClipboardText();
    SendMessageA(Item(shown, Control::CloseButton), BM_CLICK, 0, 0);
  });
  setup();
  ASSERT_TRUE(driver.sawWindow);
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ(keysHeld, "Ctrl+Shift");
  EXPECT_EQ(english, "Ctrl+Shift");
  EXPECT_EQ(copied, "Ctrl+Shift");
  EXPECT_EQ(keysAfter, "");
  EXPECT_EQ(copiedEmpty, "");
  EXPECT_EQ(SettingsFileText(),
            "[Layout]\nEnglish=Ctrl+Shift\nInternational=\n"
            "[Setup]\nWin9xMode=1\nUseDirectInput=0\nUseLLHook=1\nMediaDisable=0\n");
  host.pumpFor(50);
  EXPECT_TRUE(host.events().empty()) << "nothing reaches the host while the window is shown";
}

TEST_F(KeyboardTest, ClosingWithTheSystemMenuStillWritesEverything) {
  const SettingsFile cleanUp(nullptr);
  openWith(kFullSettings);
  DeleteFileA((ExeFolder() + "Keyboard.ini").c_str());
  ModalDriver driver([](HWND form) { PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0); });
  setup();
  ASSERT_TRUE(driver.sawWindow);
  EXPECT_EQ(SettingsFileText(),
            "[Layout]\nEnglish=Ctrl+Alt+E\nInternational=Ctrl+Shift\n"
            "[Setup]\nWin9xMode=0\nUseDirectInput=0\nUseLLHook=1\nMediaDisable=1\n");
}

TEST_F(KeyboardTest, CheckBoxesActAtOnce) {
  const SettingsFile cleanUp(nullptr);
  openWith("[Setup]\nUseLLHook=1\n");  // DirectInput, with the low-level hook chosen for later
  int threadsWithDirectInput = 0, threadsWithHook = 0;
  bool optionsEnabled = false;
  ModalDriver driver([&](HWND form) {
    threadsWithDirectInput = ThreadsOfThisProcess();
    SendMessageA(Item(form, Control::DirectInputCheck), BM_CLICK, 0, 0);
    optionsEnabled = IsWindowEnabled(Item(form, Control::UseLLHookCheck)) != FALSE;
    threadsWithHook = ThreadsOfThisProcess();
    SendMessageA(Item(form, Control::KeybEventCheck), BM_CLICK, 0, 0);
  });
  setup();
  driver.join();
  ASSERT_TRUE(driver.sawWindow);
  EXPECT_TRUE(optionsEnabled);
  EXPECT_EQ(threadsWithHook, threadsWithDirectInput + 1) << "restarted through the hook library's thread";
  const std::string file = SettingsFileText();
  EXPECT_NE(file.find("Win9xMode=0\nUseDirectInput=0\nUseLLHook=1\n"), std::string::npos) << file;
}

TEST_F(KeyboardTest, SetupListsHotkeysAndKeepsMonitoringAsItWas) {
  const SettingsFile cleanUp(nullptr);
  const HWND form = openWith(kHookModeLowLevel);
  for (const char* text : {"Ctrl+Alt+F1", "shift+f2", "Windows+E"}) {
    HostBlock block({text});
    startManual(&block.params);
  }
  const int threadsBefore = ThreadsOfThisProcess();
  std::vector<std::string> listed;
  int threadsShown = 0;
  std::string keys, count;
  ModalDriver driver([&](HWND shown) {
    const HWND list = Item(shown, Control::RegList);
    const LRESULT items = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < items; ++i) {
      char text[128] = {};
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      listed.emplace_back(text);
    }
    threadsShown = ThreadsOfThisProcess();
    postKey(shown, 'A', 0x1E, false);
    postKey(shown, 'A', 0x1E, false);
    WaitFor([&] { return Caption(Item(shown, Control::CountLabel)) == "Repeat=1"; });
    keys = Caption(Item(shown, Control::KeysPanel));
    count = Caption(Item(shown, Control::CountLabel));
    postKey(shown, 'A', 0x1E, true);
    WaitFor([&] { return Caption(Item(shown, Control::KeysPanel)).empty(); });
  });
  setup();
  driver.join();
  ASSERT_TRUE(driver.sawWindow);
  EXPECT_EQ(listed, (std::vector<std::string>{"Ctrl+Alt+F1", "shift+f2", "Windows+E"}));
  EXPECT_EQ(threadsShown, threadsBefore + 2) << "monitoring while shown (and the driver's thread)";
  EXPECT_EQ(keys, "A");
  EXPECT_EQ(count, "Repeat=1");
  EXPECT_TRUE(IsWindowEnabled(host.hwnd()));
  EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore) << "monitoring off again";
  host.pumpFor(50);
  EXPECT_TRUE(host.events().empty()) << "nothing to the host while shown";

  // Monitoring that was on stays on; key messages reach the host again once the window is hidden.
  start();
  ModalDriver again([](HWND) {});
  setup();
  again.join();
  EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore + 1);
  postKey(form, 'B', 0x30, false);
  EXPECT_EQ(waitForEvents(1), (std::vector<Event>{{"B", 0}}));
}

}  // namespace
}  // namespace keyboard_tests
