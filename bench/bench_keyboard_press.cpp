// ActionManual("PRESS", a four-key combination) in input-record mode, beside the same eight
// transitions made directly with one SendInput record each.
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "contract/plugin_contract.h"
#include "plugin_module.h"
#include "recording_host.h"

int main() {
  using contract::ActionParams;
  using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
  using CloseFn = void(__stdcall*)();
  using ActionManualFn = BOOL(__stdcall*)(const ActionParams*, std::int32_t);

  harness::PluginModule plugin("Keyboard.dll");
  char path[MAX_PATH] = {};
  GetModuleFileNameA(plugin.handle(), path, sizeof path);
  std::string settings = path;
  settings.replace(settings.size() - 3, 3, "ini");
  WritePrivateProfileStringA("Setup", "Win9xMode", "0", settings.c_str());
  WritePrivateProfileStringA("Setup", "UseDirectInput", "0", settings.c_str());

  harness::RecordingHost host;
  plugin.get<OpenFn>("Open")(nullptr, host.hwnd(), 0);
  auto actionManual = plugin.get<ActionManualFn>("ActionManual");
  ActionParams params{};
  params.count = 2;
  params.value[0] = reinterpret_cast<contract::ParamSlot>("PRESS");
  params.value[1] = reinterpret_cast<contract::ParamSlot>("Ctrl+Alt+Shift+F12");

  // What the plug-in sends for that text: scan codes alone, pressed in order, released in reverse.
  constexpr WORD kScanCodes[] = {0x1D, 0x38, 0x2A, 0x58};
  INPUT transitions[8] = {};
  for (int i = 0; i < 4; ++i) {
    transitions[i].type = transitions[7 - i].type = INPUT_KEYBOARD;
    transitions[i].ki.wScan = transitions[7 - i].ki.wScan = kScanCodes[i];
    transitions[i].ki.dwFlags = KEYEVENTF_SCANCODE;
    transitions[7 - i].ki.dwFlags = KEYEVENTF_SCANCODE | KEYEVENTF_KEYUP;
  }

  bench::CompareInRounds(
      "Keyboard ActionManual(\"PRESS\", \"Ctrl+Alt+Shift+F12\") against eight SendInput calls",
      [&](int i) { actionManual(&params, i); },
      [&](int i) {
        for (INPUT& transition : transitions) SendInput(1, &transition, sizeof transition);
        PostMessageA(host.hwnd(), contract::WM_PLUGIN_ACTION_DONE, static_cast<WPARAM>(i), 1);
      },
      [&] {
        host.pumpPending();
        host.clear();
      },
      1.3, 20, 50);
  plugin.get<CloseFn>("Close")();
  DeleteFileA(settings.c_str());
  return 0;
}
