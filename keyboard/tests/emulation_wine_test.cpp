// Keyboard.dll's actions under Wine: what really reaches the system input (seen by a low-level
// hook of this process), what reaches a window by message, what an edit control types, and the
// lock keys' state.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host_block.h"
#include "plugin_module.h"
#include "recording_host.h"

namespace {

using contract::ActionParams;
using keyboard::testing::HostBlock;
using keyboard::testing::HostValues;
using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
using CloseFn = void(__stdcall*)();
using ActionManualFn = BOOL(__stdcall*)(const ActionParams*, std::int32_t);
using Lines = std::vector<std::string>;

// Every key transition that reaches the system input while it is installed, as "VK SCAN up|down
// [ext]"; transitions that were not injected are marked "real". The hook lives on a thread of its
// own: the system calls it there, and the injecting call waits until it has run.
class KeyHook {
 public:
  KeyHook() {
    clear();
    std::promise<bool> ready;
    auto installed = ready.get_future();
    thread_ = std::thread([this, &ready] {
      MSG message;
      PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
      threadId_ = GetCurrentThreadId();
      const HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, Record, GetModuleHandleA(nullptr), 0);
      ready.set_value(hook != nullptr);
      while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
      if (hook != nullptr) UnhookWindowsHookEx(hook);
    });
    installed_ = installed.get();
  }
  ~KeyHook() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  KeyHook(const KeyHook&) = delete;
  KeyHook& operator=(const KeyHook&) = delete;

  bool installed() const { return installed_; }
  Lines keys() const {
    std::lock_guard lock(mutex_);
    return keys_;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    keys_.clear();
  }

 private:
  static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
      const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
      char line[48];
      std::snprintf(line, sizeof line, "%02lX %02lX %s%s%s", key->vkCode, key->scanCode,
                    (key->flags & LLKHF_UP) ? "up" : "down", (key->flags & LLKHF_EXTENDED) ? " ext" : "",
                    (key->flags & LLKHF_INJECTED) ? "" : " real");
      std::lock_guard lock(mutex_);
      keys_.emplace_back(line);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  // One hook at a time: the callback has no other way to find its recorder.
  static inline std::mutex mutex_;
  static inline Lines keys_;
  std::thread thread_;
  DWORD threadId_ = 0;
  bool installed_ = false;
};

// A top-level window of this thread that records the key and focus messages posted to it, in
// order, and lets none of them reach the default handling (Alt+F4 would close it).
class MessageTarget {
 public:
  MessageTarget() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, kClass, "target", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance,
                              nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~MessageTarget() {
    DestroyWindow(window_);
    UnregisterClassA(kClass, GetModuleHandleA(nullptr));
  }
  MessageTarget(const MessageTarget&) = delete;
  MessageTarget& operator=(const MessageTarget&) = delete;

  HWND hwnd() const { return window_; }
  Lines messages;

 private:
  static constexpr const char* kClass = "EmulationMessageTarget";
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MessageTarget*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const bool keyMessage = message == WM_SETFOCUS || (message >= WM_KEYDOWN && message <= WM_SYSKEYUP);
    if (self != nullptr && keyMessage) {
      char line[64];
      std::snprintf(line, sizeof line, "%04X %02llX %08llX", message, static_cast<unsigned long long>(wParam),
                    static_cast<unsigned long long>(static_cast<std::uint32_t>(lParam)));
      self->messages.emplace_back(line);
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
};

// A shown top-level window with an edit control that has the keyboard focus.
class FocusedEdit {
 public:
  FocusedEdit() {
    frame_ = CreateWindowExA(0, "STATIC", "emulation edit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 120, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 580, 30, frame_, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    SendMessageA(edit_, EM_SETLIMITTEXT, 0, 0);
    SetForegroundWindow(frame_);
    SetFocus(edit_);
  }
  ~FocusedEdit() { DestroyWindow(frame_); }
  FocusedEdit(const FocusedEdit&) = delete;
  FocusedEdit& operator=(const FocusedEdit&) = delete;

  bool focused() const { return GetFocus() == edit_; }
  std::string text() const {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit_)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(edit_, text.data(), static_cast<int>(text.size()))));
    return text;
  }
  void clear() { SetWindowTextA(edit_, ""); }

 private:
  HWND frame_ = nullptr;
  HWND edit_ = nullptr;
};

// Keys that the system still holds down (mouse buttons aside).
std::vector<int> HeldKeys() {
  std::vector<int> held;
  for (int virtualKey = 8; virtualKey < 255; ++virtualKey) {
    if ((GetAsyncKeyState(virtualKey) & 0x8000) != 0) held.push_back(virtualKey);
  }
  return held;
}

struct Outcome {
  LPARAM result = -1;
  Lines reports;
};

class EmulationTest : public ::testing::Test {
 protected:
  harness::PluginModule plugin{"Keyboard.dll"};
  harness::RecordingHost host;
  OpenFn open = plugin.get<OpenFn>("Open");
  CloseFn close = plugin.get<CloseFn>("Close");
  ActionManualFn actionManual = plugin.get<ActionManualFn>("ActionManual");
  std::string settingsPath;

  void SetUp() override {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(plugin.handle(), path, sizeof path);
    settingsPath = path;
    settingsPath.replace(settingsPath.size() - 3, 3, "ini");
  }
  void TearDown() override {
    close();
    DeleteFileA(settingsPath.c_str());
    EXPECT_EQ(HeldKeys(), std::vector<int>{}) << "a key was left held down";
  }

  // Opens the plug-in with these settings in its settings file.
  void openWith(bool win9xMode, const char* international = "Alt+Shift") {
    WritePrivateProfileStringA("Setup", "Win9xMode", win9xMode ? "1" : "0", settingsPath.c_str());
    WritePrivateProfileStringA("Setup", "UseDirectInput", "0", settingsPath.c_str());
    WritePrivateProfileStringA("Layout", "International", international, settingsPath.c_str());
    ASSERT_STREQ(open(nullptr, host.hwnd(), 0), "Keyboard events/emulation");
  }

  Outcome act(const ActionParams* params) {
    host.clear();
    EXPECT_TRUE(actionManual(params, 42));
    host.pumpPending();
    Outcome outcome;
    const auto dones = host.dones();
    EXPECT_EQ(dones.size(), 1u);
    if (!dones.empty()) {
      EXPECT_EQ(dones[0].wParam, 42u);
      outcome.result = dones[0].lParam;
    }
    for (const harness::HostMessage& log : host.logs()) {
      EXPECT_LE(log.logText.size(), 255u);
      outcome.reports.push_back(log.logText);
    }
    return outcome;
  }
  Outcome act(HostValues values) {
    const HostBlock block(values);
    return act(&block.params);
  }
  // Lets the injected input reach this thread's queue and key state.
  void settle() { host.pumpFor(60); }
};

TEST_F(EmulationTest, PressInLegacyModeSendsDerivedVirtualKeys) {
  openWith(true);
  KeyHook hook;
  ASSERT_TRUE(hook.installed());
  EXPECT_EQ(act({"PRESS", "Ctrl+Alt+Delete"}).result, 1);
  EXPECT_EQ(hook.keys(), (Lines{"11 1D down", "12 38 down", "2E 53 down ext", "2E 53 up ext", "12 38 up", "11 1D up"}));

  hook.clear();
  EXPECT_EQ(act({"KEYDOWN", "Shift"}).result, 1);
  EXPECT_EQ(act({"KEYUP", "shift"}).result, 1);
  EXPECT_EQ(act({"KEYDOWN", "Pause"}).result, 1);
  EXPECT_EQ(act({"KEYUP", "Pause"}).result, 1);
  EXPECT_EQ(hook.keys(), (Lines{"10 2A down", "10 2A up", "13 45 down ext", "13 45 up ext"}));
  settle();
}

TEST_F(EmulationTest, PressInInputRecordModeSendsScanCodesAlone) {
  openWith(false);
  KeyHook hook;
  EXPECT_EQ(act({"PRESS", "Ctrl+Alt+Delete"}).result, 1);
  // A scan code sent alone reaches the hook with virtual key 0.
  EXPECT_EQ(hook.keys(), (Lines{"00 1D down", "00 38 down", "00 53 down ext", "00 53 up ext", "00 38 up", "00 1D up"}));

  hook.clear();
  EXPECT_EQ(act({"KEYDOWN", "Right Ctrl"}).result, 1);
  EXPECT_EQ(act({"KEYUP", "Right Ctrl"}).result, 1);
  EXPECT_EQ(act({"KEYDOWN", "Pause"}).result, 1);  // Pause goes with its virtual key
  EXPECT_EQ(act({"KEYUP", "Pause"}).result, 1);
  EXPECT_EQ(hook.keys(), (Lines{"00 1D down ext", "00 1D up ext", "13 45 down ext", "13 45 up ext"}));
  settle();
}

TEST_F(EmulationTest, PressReleasesKeysThisThreadHoldsFirst) {
  openWith(true);
  BYTE state[256] = {};
  state[VK_SHIFT] = 0x80;
  state[VK_MENU] = 0x80;
  ASSERT_TRUE(SetKeyboardState(state));
  KeyHook hook;
  EXPECT_EQ(act({"PRESS", "A"}).result, 1);
  EXPECT_EQ(hook.keys(), (Lines{"10 2A up", "12 38 up", "41 1E down", "41 1E up"}));

  hook.clear();
  ASSERT_TRUE(SetKeyboardState(state));
  const Outcome failed = act({"PRESS", "Ctrl+Nokey"});
  EXPECT_EQ(failed.result, 0);
  EXPECT_EQ(failed.reports, Lines{"Invalid params: Keyboard.ActionManual(\"PRESS\",\"Ctrl+Nokey\")"});
  EXPECT_EQ(hook.keys(), (Lines{"10 2A up", "12 38 up"}));
  settle();
}

TEST_F(EmulationTest, MessageCommandsPostToTheWindowGiven) {
  openWith(true);
  MessageTarget target;
  KeyHook hook;
  const auto window = static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(target.hwnd()));
  EXPECT_EQ(act({"WM_PRESS", "Alt+F4", window}).result, 1);
  EXPECT_EQ(target.messages, (Lines{"0007 00 00000000", "0104 12 20380001", "0104 73 203E0001", "0105 73 E03E0001",
                                    "0101 12 C0380001"}));
  EXPECT_EQ(hook.keys(), Lines{});

  target.messages.clear();
  EXPECT_EQ(act({"WM_PRESS", "Ctrl+Alt+Delete", window}).result, 1);
  EXPECT_EQ(target.messages, (Lines{"0007 00 00000000", "0100 12 20380001", "0100 2E 21530001", "0101 2E E1530001",
                                    "0101 12 C0380001"}));
  EXPECT_EQ(hook.keys(), (Lines{"11 1D down", "11 1D up"}));  // Ctrl goes through the system input

  target.messages.clear();
  EXPECT_EQ(act({"WM_KEYDOWN", "F4", window}).result, 1);
  EXPECT_EQ(act({"WM_KEYUP", "Num Enter", window}).result, 1);
  EXPECT_EQ(target.messages, (Lines{"0100 73 003E0001", "0101 0D C11C0001"}));

  target.messages.clear();
  const Outcome textWindow = act({"WM_PRESS", "Alt+F4", "1234"});
  EXPECT_EQ(textWindow.result, 0);
  EXPECT_EQ(textWindow.reports, Lines{"Invalid params: Keyboard.ActionManual(\"WM_PRESS\",\"Alt+F4\",\"1234\")"});
  EXPECT_EQ(act({"WM_KEYDOWN", "F4"}).result, 0);
  host.pumpPending();
  EXPECT_EQ(target.messages, Lines{});
  settle();
}

TEST_F(EmulationTest, TypeFillsAFocusedEditWithCapsLockOnBeforehand) {
  openWith(true);
  FocusedEdit edit;
  settle();
  ASSERT_TRUE(edit.focused());
  EXPECT_EQ(act({"ON", "CAPS LOCK"}).result, 1);
  ASSERT_TRUE(host.pumpUntil([] { return (GetKeyState(VK_CAPITAL) & 1) != 0; }, 2000));
  edit.clear();

  // Not the parentheses: Wine's key scan finds no key for them under this X keymap, so they take the
  // Alt-code path, which Wine does not compose.
  const std::string text = "Hello World 0123456789 abcxyz ABCXYZ `~!@#$%^&*-_=+[{]}\\|;:'\",<.>/?";
  EXPECT_EQ(act({"TYPE", text}).result, 1);
  EXPECT_TRUE(host.pumpUntil([&] { return edit.text() == text; }, 5000)) << edit.text();
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0) << "typing leaves Caps Lock off";
}

TEST_F(EmulationTest, LockKeysChangeOnlyWhenAsked) {
  openWith(true);
  FocusedEdit edit;
  settle();
  ASSERT_TRUE(edit.focused());
  struct Lock {
    const char* name;
    int virtualKey;
    const char* key;  // as the hook shows it
  };
  const Lock locks[] = {
      {"caps lock", VK_CAPITAL, "14 3A"}, {"NUM LOCK", VK_NUMLOCK, "90 45"}, {"Scroll Lock", VK_SCROLL, "91 46"}};
  const auto toggled = [](int virtualKey) { return (GetKeyState(virtualKey) & 1) != 0; };
  for (const Lock& lock : locks) {
    EXPECT_EQ(act({"OFF", lock.name}).result, 1);
    ASSERT_TRUE(host.pumpUntil([&] { return !toggled(lock.virtualKey); }, 2000)) << lock.name;
    KeyHook hook;
    EXPECT_EQ(act({"OFF", lock.name}).result, 1);
    EXPECT_EQ(hook.keys(), Lines{}) << "already off: nothing is sent";
    EXPECT_EQ(act({"ON", lock.name}).result, 1);
    EXPECT_TRUE(host.pumpUntil([&] { return toggled(lock.virtualKey); }, 2000)) << lock.name;
    const std::string key = lock.key;
    const std::string extended = lock.virtualKey == VK_NUMLOCK ? " ext" : "";
    EXPECT_EQ(hook.keys(), (Lines{key + " down" + extended, key + " up" + extended})) << lock.name;
    hook.clear();
    EXPECT_EQ(act({"ON", lock.name}).result, 1);
    EXPECT_EQ(hook.keys(), Lines{}) << "already on: nothing is sent";
    EXPECT_EQ(act({"OFF", lock.name}).result, 1);
    EXPECT_TRUE(host.pumpUntil([&] { return !toggled(lock.virtualKey); }, 2000)) << lock.name;
  }
  const Outcome unknown = act({"ON", "CAPSLOCK"});
  EXPECT_EQ(unknown.result, 0);
  EXPECT_EQ(unknown.reports, Lines{"Invalid params: Keyboard.ActionManual(\"ON\",\"CAPSLOCK\")"});
}

TEST_F(EmulationTest, LayoutPausesOnlyWhenItPressesAHotkey) {
  openWith(true, "");  // only the US layout exists here, so every switch goes to International
  using Clock = std::chrono::steady_clock;
  auto started = Clock::now();
  EXPECT_EQ(act({"LAYOUT", "english"}).result, 1);
  EXPECT_LT(Clock::now() - started, std::chrono::milliseconds(90));

  started = Clock::now();
  const Outcome international = act({"LAYOUT", "Russian"});
  EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(99));
  EXPECT_EQ(international.result, 0);
  EXPECT_EQ(international.reports, Lines{"Invalid params: Keyboard.ActionManual(\"LAYOUT\",\"Russian\")"});
}

TEST_F(EmulationTest, BadInputGetsTheDocumentedResultAndLeavesNoKeyDown) {
  openWith(true);
  const std::string longText(10000, 'q');
  std::string highBytes;
  for (int c = 128; c < 256; ++c) highBytes += static_cast<char>(c);
  struct Case {
    const char* what;
    HostBlock block;
    LPARAM result;
  };
  Case cases[] = {
      {"long PRESS", {"PRESS", "Ctrl+" + longText}, 0},
      {"long WM_PRESS", {"WM_PRESS", "Shift+" + longText, 77}, 0},
      {"long KEYDOWN", {"KEYDOWN", longText}, 0},
      {"long TYPE", {"TYPE", longText}, 1},
      {"TYPE above 127", {"TYPE", highBytes}, 1},
      {"text window", {"WM_PRESS", "Ctrl+A", "77"}, 0},
      {"null text", {"PRESS", "A"}, 0},
      {"count -1", {"PRESS", "A"}, 0},
      {"count INT_MAX", {"PRESS", "Ctrl+Nokey", "x", 3}, 0},
  };
  cases[6].block.params.value[1] = 0;
  cases[7].block.params.count = -1;
  cases[8].block.params.count = INT_MAX;
  for (Case& c : cases) {
    const Outcome outcome = act(&c.block.params);
    EXPECT_EQ(outcome.result, c.result) << c.what;
    EXPECT_EQ(outcome.reports.size(), c.result == 0 ? 1u : 0u) << c.what;
    for (const std::string& report : outcome.reports) {
      EXPECT_EQ(report.rfind("Invalid params: Keyboard.ActionManual(", 0), 0u) << c.what;
    }
    settle();
    EXPECT_EQ(HeldKeys(), std::vector<int>{}) << c.what;
  }
  EXPECT_EQ(act(&cases[0].block.params).reports.at(0).size(), 255u);
  EXPECT_EQ(act(&cases[6].block.params).reports.at(0), "Invalid params: Keyboard.ActionManual(\"PRESS\",NULL)");
  EXPECT_EQ(act(&cases[7].block.params).reports.at(0), "Invalid params: Keyboard.ActionManual()");
  EXPECT_EQ(act(&cases[8].block.params).reports.at(0),
            "Invalid params: Keyboard.ActionManual(\"PRESS\",\"Ctrl+Nokey\",\"x\",0x3)");
  settle();
}

}  // namespace
