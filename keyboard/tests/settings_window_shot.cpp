// A picture of the keyboard settings window for the demo: opens a Keyboard.dll with a host window
// on this thread, registers two hotkeys and runs Setup, while a helper thread holds Ctrl+Shift (as
// the hook library's key messages), saves the window as a PNG file and closes it.
//   keyboard_setup_shot PLUGIN.dll OUT.png
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

#include "contract/plugin_contract.h"
#include "plugin_module.h"
#include "recording_host.h"
#include "screen_picture.h"

namespace {

// The key message hooks.dll posts: virtual key in WPARAM, a key message's LPARAM.
void PostKey(HWND form, int virtualKey, int keyCode, bool up) {
  const DWORD lParam = 1u | static_cast<DWORD>(keyCode & 0x1FF) << 16 | (up ? 0xC0000000u : 0u);
  PostMessageA(form, WM_USER, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(lParam));
}

bool WaitUntil(bool (*done)(HWND), HWND window, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done(window)) {
    if (GetTickCount64() > deadline) return false;
    Sleep(20);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: keyboard_setup_shot PLUGIN.dll OUT.png\n");
    return 2;
  }
  harness::RecordingHost host;
  harness::PluginModule plugin(argv[1]);
  auto open = plugin.get<const char*(__stdcall*)(const char*, HWND, std::int32_t)>("Open");
  auto close = plugin.get<void(__stdcall*)()>("Close");
  auto setup = plugin.get<void(__stdcall*)()>("Setup");
  auto startManual = plugin.get<void(__stdcall*)(const contract::ActionParams*)>("StartManual");
  open(nullptr, host.hwnd(), 0);
  for (const char* hotkey : {"Ctrl+Alt+Q", "Shift+F5"}) {
    contract::ActionParams params{};
    params.count = 1;
    params.value[0] = reinterpret_cast<contract::ParamSlot>(hotkey);
    startManual(&params);
  }
  bool saved = false;
  std::thread driver([&] {
    const HWND form = FindWindowA("TSetupForm", nullptr);
    if (form == nullptr || !WaitUntil([](HWND w) { return IsWindowVisible(w) != FALSE; }, form, 10000)) return;
    PostKey(form, VK_CONTROL, 0x1D, false);
    PostKey(form, VK_SHIFT, 0x2A, false);
    Sleep(700);
    saved = harness::SaveScreen(harness::Around(form, 8), argv[2]);
    PostKey(form, VK_SHIFT, 0x2A, true);
    PostKey(form, VK_CONTROL, 0x1D, true);
    Sleep(100);
    PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  setup();
  driver.join();
  close();
  if (!saved) {
    std::fprintf(stderr, "keyboard_setup_shot: nothing saved\n");
    return 1;
  }
  return 0;
}
