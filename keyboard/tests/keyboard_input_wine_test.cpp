// Keyboard.dll under Wine with real input: keys injected with SendInput reach the hook library's
// hooks and DirectInput, and come out as events.
#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "keyboard_fixture.h"

namespace keyboard_tests {
namespace {

// A visible window of the test's thread with the keyboard focus, recording the keys it gets.
class FocusedWindow {
 public:
  FocusedWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KeyboardTestFocus";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, "KeyboardTestFocus", "keyboard test focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                              200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window_);
    SetFocus(window_);
    keys().clear();
  }
  ~FocusedWindow() { DestroyWindow(window_); }
  static std::vector<WPARAM>& keys() {
    static std::vector<WPARAM> received;
    return received;
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) keys().push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  HWND window_;
};

const std::vector<Event> kCtrlC{{"Ctrl", 0}, {"Ctrl", -1}, {"Ctrl+C", 0}, {"Ctrl+C", -1}, {"Ctrl", 0}, {"Ctrl", -1}};

void InjectCtrlC() {
  InjectKey(VK_CONTROL, 0x1D, false);
  InjectKey('C', 0x2E, false);
  InjectKey('C', 0x2E, true);
  InjectKey(VK_CONTROL, 0x1D, true);
}

TEST_F(KeyboardTest, LowLevelHookReportsInjectedKeys) {
  openWith(kHookModeLowLevel);
  start();
  InjectCtrlC();
  EXPECT_EQ(waitForEvents(6), kCtrlC);
  host.clear();
  // Auto-repeats, an extended key and a key told by its scan code only.
  InjectKey('A', 0x1E, false);
  InjectKey('A', 0x1E, false);
  InjectKey('A', 0x1E, false);
  InjectKey('A', 0x1E, true);
  InjectKey(VK_DELETE, 0x53, false, true);
  InjectKey(VK_DELETE, 0x53, true, true);
  InjectKey(0, 0x47, false, false, true);
  InjectKey(0, 0x47, true, false, true);
  EXPECT_EQ(waitForEvents(8),
            (std::vector<Event>{
                {"A", 0}, {"A", 1}, {"A", 2}, {"A", -1}, {"Delete", 0}, {"Delete", -1}, {"Num 7", 0}, {"Num 7", -1}}));
  host.clear();
  stop();
  InjectCtrlC();
  host.pumpFor(200);
  EXPECT_TRUE(host.events().empty()) << "nothing after Stop";
}

TEST_F(KeyboardTest, LowLevelHookKeepsMediaKeysFromOthersWhenAsked) {
  for (const bool disable : {false, true}) {
    host.clear();
    const std::string settings = std::string(kHookModeLowLevel) + "MediaDisable=" + (disable ? "1" : "0") + "\n";
    openWith(settings.c_str());
    start();
    FocusedWindow focus;
    InjectKey(VK_VOLUME_UP, 0x30, false, true);
    InjectKey(VK_VOLUME_UP, 0x30, true, true);
    InjectKey('B', 0x30, false);  // a plain key afterwards shows that the window does get keys
    InjectKey('B', 0x30, true);
    EXPECT_EQ(waitForEvents(4), (std::vector<Event>{{"VolumeUp", 0}, {"VolumeUp", -1}, {"B", 0}, {"B", -1}}));
    host.pumpFor(100);
    const auto& keys = FocusedWindow::keys();
    ASSERT_FALSE(keys.empty()) << "the focused window got no keys at all";
    EXPECT_EQ(std::count(keys.begin(), keys.end(), VK_VOLUME_UP), disable ? 0 : 1) << "disable=" << disable;
    EXPECT_EQ(std::count(keys.begin(), keys.end(), WPARAM{'B'}), 1);
    close();
  }
}

TEST_F(KeyboardTest, ClassicHookReportsEachTransitionOnce) {
  openWith(kHookModeClassic);
  start();
  FocusedWindow focus;
  InjectCtrlC();
  // A look without removal must not report the keys a second time.
  MSG message;
  host.pumpUntil([&] { return PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) != 0; }, 500);
  PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE);
  EXPECT_EQ(waitForEvents(6), kCtrlC);
  host.clear();
  stop();
  InjectCtrlC();
  host.pumpFor(200);
  EXPECT_TRUE(host.events().empty()) << "nothing after Stop";
}

// Times of the events, in milliseconds since the first.
class EventClock {
 public:
  explicit EventClock(harness::RecordingHost& host) {
    QueryPerformanceFrequency(&frequency_);
    host.onMessage([this](const harness::HostMessage& m) {
      if (!m.isEvent()) return;
      LARGE_INTEGER now;
      QueryPerformanceCounter(&now);
      times_.push_back(static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency_.QuadPart));
    });
  }
  std::vector<double> sinceFirst() const {
    std::vector<double> result;
    for (double t : times_) result.push_back(t - times_.front());
    return result;
  }

 private:
  LARGE_INTEGER frequency_;
  std::vector<double> times_;
};

// "A" held for about 1.2 s under DirectInput: a press, repeats numbered from 1 that begin about
// 500 ms after the press and follow about every 30 ms, and one release.
void ExpectHeldKeyRepeats(const std::vector<Event>& sent, const std::vector<double>& times) {
  ASSERT_GE(sent.size(), 3u);
  ASSERT_EQ(times.size(), sent.size());
  EXPECT_EQ(sent.front(), (Event{"A", 0}));
  EXPECT_EQ(sent.back(), (Event{"A", -1}));
  for (std::size_t i = 1; i + 1 < sent.size(); ++i) EXPECT_EQ(sent[i], (Event{"A", static_cast<LPARAM>(i)}));
  EXPECT_GE(times[1], 450.0);
  EXPECT_LE(times[1], 650.0);
  const std::size_t repeats = sent.size() - 2;
  EXPECT_GE(repeats, 12u);
  EXPECT_LE(repeats, 30u);
  const double period = (times[repeats] - times[1]) / static_cast<double>(repeats - 1);
  EXPECT_GE(period, 20.0);
  EXPECT_LE(period, 45.0);
}

TEST_F(KeyboardTest, DirectInputRepeatsAHeldKeyAndReleasesOnce) {
  EventClock clock(host);
  openWith(nullptr);
  start();
  InjectKey(0, 0x1E, false, false, true);
  host.pumpFor(1200);
  InjectKey(0, 0x1E, true, false, true);
  host.pumpFor(300);
  ExpectHeldKeyRepeats(events(), clock.sinceFirst());
}

TEST_F(KeyboardTest, DirectInputStopEndsTheRepeatsAtOnce) {
  openWith(nullptr);
  start();
  InjectKey(0, 0x2E, false, false, true);
  host.pumpFor(800);
  const std::size_t beforeStop = host.events().size();
  EXPECT_GE(beforeStop, 3u) << "repeating";
  stop();
  host.pumpFor(300);
  EXPECT_EQ(host.events().size(), beforeStop);
  InjectKey(0, 0x2E, true, false, true);
  host.pumpFor(200);
  EXPECT_EQ(host.events().size(), beforeStop);
  close();
}

// Runs a shell command line on the Linux side; Wine gives no handle to wait on, so the command
// ends by creating a file, and this waits (handling messages) until it is there.
bool RunShellAndWait(harness::RecordingHost& host, const std::string& command, DWORD timeoutMs) {
  const std::string done = "/tmp/keyboard_test_" + std::to_string(GetCurrentProcessId()) + ".done";
  std::string windowsDone = "Z:" + done;
  for (char& c : windowsDone) c = c == '/' ? '\\' : c;
  DeleteFileA(windowsDone.c_str());
  std::string commandLine = "/bin/sh -c \"" + command + "; touch " + done + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  const bool finished =
      host.pumpUntil([&] { return GetFileAttributesA(windowsDone.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs);
  DeleteFileA(windowsDone.c_str());
  return finished;
}

// Real X keys reach Wine only while one of its windows has the X focus.
constexpr const char* kFocusTheTestWindow =
    "xdotool search --sync --name '^keyboard test focus$' | head -n 1 | xargs -I{} xdotool windowfocus --sync {}";

TEST_F(KeyboardTest, DirectInputRepeatsARealXKeyHeld) {
  EventClock clock(host);
  openWith(nullptr);
  FocusedWindow focus;
  start();
  ASSERT_TRUE(RunShellAndWait(
      host, std::string(kFocusTheTestWindow) + " && xdotool keydown a && sleep 1.2 && xdotool keyup a", 15000));
  host.pumpFor(300);
  ExpectHeldKeyRepeats(events(), clock.sinceFirst());
}

TEST_F(KeyboardTest, DirectInputStopEndsTheRepeatsOfARealXKey) {
  openWith(nullptr);
  FocusedWindow focus;
  start();
  std::size_t atStop = 0;
  host.onMessage([&](const harness::HostMessage& m) {
    // Stop from inside the host, once the key is repeating.
    if (m.isEvent() && m.lParam == 3) {
      stop();
      atStop = host.events().size();
    }
  });
  ASSERT_TRUE(RunShellAndWait(
      host, std::string(kFocusTheTestWindow) + " && xdotool keydown s && sleep 1.5 && xdotool keyup s", 15000));
  host.pumpFor(300);
  ASSERT_EQ(atStop, 4u);
  EXPECT_EQ(host.events().size(), atStop) << "nothing after Stop, neither repeats nor the release";
}

// The message box of a failing DirectInput start, found and closed by a watcher thread.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher() : thread_([this] { run(); }) {}
  ~MessageBoxWatcher() {
    done_ = true;
    thread_.join();
  }
  struct Box {
    std::string caption, text;
    bool hasOk, hasCancel;
  };
  std::vector<Box> boxes() {
    std::lock_guard lock(mutex_);
    return boxes_;
  }
  void closeForm(HWND form) { form_ = form; }

 private:
  void run() {
    while (!done_) {
      if (HWND box = FindWindowA("#32770", "Keyboard events/emulation"); box && IsWindowVisible(box)) {
        Box seen;
        char text[512] = {};
        GetWindowTextA(box, text, sizeof text);
        seen.caption = text;
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        seen.text = text;
        seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
        seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
        {
          std::lock_guard lock(mutex_);
          boxes_.push_back(seen);
        }
        SendMessageA(box, WM_COMMAND, IDOK, 0);
      }
      if (HWND form = form_; form && IsWindowVisible(form)) PostMessageA(form, WM_CLOSE, 0, 0);
      Sleep(20);
    }
  }
  std::atomic<bool> done_{false};
  std::atomic<HWND> form_{nullptr};
  std::mutex mutex_;
  std::vector<Box> boxes_;
  std::thread thread_;
};

// DirectInput that cannot start needs the stand-in dinput8.dll beside the test, which Wine takes
// only for a process started with the dinput8=n override: CTest runs this test once more in such
// a process (keyboard_dinput8_failure_wine_test) and sets the variable below.
constexpr const char* kFailingDirectInputVariable = "KEYBOARD_TEST_FAILING_DINPUT8";

TEST_F(KeyboardTest, DirectInputFailureShowsTheMessageBoxOnEveryStart) {
  if (GetEnvironmentVariableA(kFailingDirectInputVariable, nullptr, 0) == 0) {
    GTEST_SKIP() << "runs in the process with the failing dinput8.dll";
  }
  ASSERT_NE(GetModuleHandleA("dinput8.dll"), nullptr);
  ASSERT_NE(GetProcAddress(GetModuleHandleA("dinput8.dll"), "StandInCalls"), nullptr) << "the stand-in is not in use";
  MessageBoxWatcher watcher;
  const HWND form = openWith(nullptr);
  watcher.closeForm(form);
  start();
  start();
  stop();
  setup();  // its own Start, and the restart when the window first checks "Use DirectInput8"
  setup();  // the box is already checked: only Setup's own Start
  close();
  const auto boxes = watcher.boxes();
  ASSERT_EQ(boxes.size(), 5u) << "Start, Start, Setup twice, Setup once";
  for (const auto& box : boxes) {
    EXPECT_EQ(box.caption, "Keyboard events/emulation");
    EXPECT_EQ(box.text,
              "Error initializing DirectInput8.\nDisable DirectInput in plugin setup or install DirectX 8 or above.");
    EXPECT_TRUE(box.hasOk);
    EXPECT_FALSE(box.hasCancel);
  }
}

}  // namespace
}  // namespace keyboard_tests
