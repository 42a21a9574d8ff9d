// Pictures of the settings window for the demo: loads a Sendaro.dll, opens it with a host window on
// this thread and runs Setup, while a helper thread waits for what is to be shown and saves the
// part of the screen with the window (and the help message over it) as a PNG file.
//   setup_window_shots PLUGIN.dll pressed|help OUT.png
// "pressed": waits until the sensor's script has a button held and the window shows it.
// "help": the plug-in's folder has no sensor library; presses OK on Open's message and saves the
// help message that the window shows.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "plugin_module.h"
#include "recording_host.h"
#include "screen_picture.h"
#include "setup_window_driver.h"

namespace {

using sendaro_test::SetupWindowDriver;

constexpr char kCaption[] = "Sendaro Control (VGA/TV Tuner)";

HWND WaitForDialog(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    if (HWND box = FindWindowA("#32770", kCaption)) return box;
    Sleep(10);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: setup_window_shots PLUGIN.dll pressed|help OUT.png\n");
    return 2;
  }
  const std::string mode = argv[2];
  const char* out = argv[3];
  harness::RecordingHost host;
  harness::PluginModule plugin(argv[1]);
  auto open = plugin.get<const char*(__stdcall*)(const char*, HWND, std::int32_t)>("Open");
  auto close = plugin.get<void(__stdcall*)()>("Close");
  auto setup = plugin.get<void(__stdcall*)()>("Setup");
  bool saved = false;
  // Open's message box about the missing library is answered on this helper's thread.
  std::thread answerOpen;
  if (mode == "help") {
    answerOpen = std::thread([] {
      if (HWND box = WaitForDialog(10000)) SendMessageA(box, WM_COMMAND, IDOK, 0);
    });
  }
  open(nullptr, host.hwnd(), 0);
  if (answerOpen.joinable()) answerOpen.join();
  sendaro_test::SetupWindowSession session([&](SetupWindowDriver& d) {
    if (mode == "pressed") {
      if (!SetupWindowDriver::WaitText(d.At("Static", 12, 40), "Key: Power", 10000)) return;
      Sleep(300);  // past the first repeats: still one "Pressed"
      saved = harness::SaveScreen(harness::Around(d.form(), 8), out);
    } else {
      HWND box = WaitForDialog(10000);
      if (!box) return;
      Sleep(300);
      RECT both;
      const RECT form = harness::Around(d.form(), 8);
      const RECT help = harness::Around(box, 8);
      UnionRect(&both, &form, &help);
      saved = harness::SaveScreen(both, out);
      SendMessageA(box, WM_COMMAND, IDOK, 0);
    }
  });
  setup();
  session.Wait();
  close();
  if (!saved) {
    std::fprintf(stderr, "setup_window_shots: nothing saved for %s\n", mode.c_str());
    return 1;
  }
  return 0;
}
