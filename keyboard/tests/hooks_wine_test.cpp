// hooks.dll on its own under Wine: the key message layout, retargeting, stopping and unloading.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "keyboard_fixture.h"
#include "plugin_module.h"

namespace keyboard_tests {
namespace {

using StartFn = BOOL(__stdcall*)(HWND);
using SwitchFn = void(__stdcall*)(int);

// A window of the test's thread that keeps the key messages it receives.
class KeyTarget {
 public:
  KeyTarget() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "HooksTestTarget";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, "HooksTestTarget", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              this);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~KeyTarget() { DestroyWindow(window_); }
  HWND hwnd() const { return window_; }
  std::vector<MSG> keys;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<KeyTarget*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_USER) self->keys.push_back(MSG{window, message, wParam, lParam, 0, {}});
    return DefWindowProcA(window, message, wParam, lParam);
  }
  HWND window_;
};

void Pump(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  MSG message;
  while (GetTickCount64() < end) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

class HooksLibrary : public ::testing::Test {
 protected:
  harness::PluginModule hooks{"hooks.dll"};
  VoidFn init = hooks.get<VoidFn>("kbd_Init");
  StartFn start = hooks.get<StartFn>("kbd_Start");
  VoidFn stop = hooks.get<VoidFn>("kbd_Stop");
  SwitchFn useLowLevel = hooks.get<SwitchFn>("kbd_UseLLHook");
  SwitchFn mediaDisable = hooks.get<SwitchFn>("kbd_MediaDisable");
  void TearDown() override { stop(); }
};

TEST_F(HooksLibrary, PostsTheKeyMessageLayoutAndRetargets) {
  KeyTarget first, second;
  init();
  useLowLevel(1);
  const int threadsBefore = ThreadsOfThisProcess();
  ASSERT_TRUE(start(first.hwnd()));
  InjectKey('A', 0x1E, false);
  InjectKey(VK_DELETE, 0x53, true, true);
  Pump(150);
  ASSERT_EQ(first.keys.size(), 2u);
  EXPECT_EQ(first.keys[0].wParam, WPARAM{'A'});
  EXPECT_EQ(static_cast<DWORD>(first.keys[0].lParam) & 0x81FF0000u, 0x001E0000u);
  EXPECT_EQ(first.keys[1].wParam, WPARAM{VK_DELETE});
  EXPECT_EQ(static_cast<DWORD>(first.keys[1].lParam) & 0x81FF0000u, 0x81530000u);

  // A second start only retargets: still one hook thread.
  ASSERT_TRUE(start(second.hwnd()));
  EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore + 1);
  InjectKey('A', 0x1E, true);
  Pump(150);
  EXPECT_EQ(first.keys.size(), 2u);
  ASSERT_EQ(second.keys.size(), 1u);
  EXPECT_NE(static_cast<DWORD>(second.keys[0].lParam) & 0x80000000u, 0u);

  stop();
  stop();
  EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);
  InjectKey('A', 0x1E, false);
  InjectKey('A', 0x1E, true);
  Pump(150);
  EXPECT_EQ(second.keys.size(), 1u) << "nothing after kbd_Stop";
}

TEST_F(HooksLibrary, SwitchesTheKindOfHookOnTheNextStart) {
  KeyTarget target;
  const int threadsBefore = ThreadsOfThisProcess();
  useLowLevel(0);
  ASSERT_TRUE(start(target.hwnd()));
  EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);
  useLowLevel(1);
  ASSERT_TRUE(start(target.hwnd()));
  EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore + 1);
  InjectKey('Q', 0x10, false);
  InjectKey('Q', 0x10, true);
  Pump(150);
  EXPECT_EQ(target.keys.size(), 2u);
}

TEST(HooksLibraryUnload, UnloadingWhileStartedIsHarmless) {
  KeyTarget target;
  // The low-level hook's thread holds the library, so it stays mapped until kbd_Stop.
  {
    harness::PluginModule hooks("hooks.dll");
    hooks.get<SwitchFn>("kbd_UseLLHook")(1);
    ASSERT_TRUE(hooks.get<StartFn>("kbd_Start")(target.hwnd()));
  }
  InjectKey('A', 0x1E, false);
  InjectKey('A', 0x1E, true);
  Pump(150);
  EXPECT_EQ(target.keys.size(), 2u);
  ASSERT_NE(GetModuleHandleA("hooks.dll"), nullptr);
  {
    harness::PluginModule hooks("hooks.dll");
    hooks.get<VoidFn>("kbd_Stop")();
  }
  EXPECT_EQ(GetModuleHandleA("hooks.dll"), nullptr);

  // The classic hook goes with the library.
  {
    harness::PluginModule hooks("hooks.dll");
    hooks.get<SwitchFn>("kbd_UseLLHook")(0);
    ASSERT_TRUE(hooks.get<StartFn>("kbd_Start")(target.hwnd()));
  }
  EXPECT_EQ(GetModuleHandleA("hooks.dll"), nullptr);
  InjectKey('A', 0x1E, false);
  InjectKey('A', 0x1E, true);
  Pump(150);
}

}  // namespace
}  // namespace keyboard_tests
