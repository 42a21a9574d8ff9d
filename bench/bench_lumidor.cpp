// ActionManual("PLAYBACK_PLAY") against the stand-in player on another thread, beside what the
// same work costs done directly: FindWindow, a cross-thread SendMessage and a PostMessage.
#include <cstdio>

#include "bench_support.h"
#include "contract/plugin_contract.h"
#include "player_standin.h"
#include "plugin_module.h"
#include "recording_host.h"

int main() {
  using contract::ActionParams;
  using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
  using ActionManualFn = BOOL(__stdcall*)(const ActionParams*, std::int32_t);

  harness::PluginModule plugin("Lumidor.dll");
  harness::RecordingHost host;
  standins::PlayerStandIn player(1);
  plugin.get<OpenFn>("Open")(nullptr, host.hwnd(), 0);
  auto actionManual = plugin.get<ActionManualFn>("ActionManual");

  ActionParams params{};
  params.count = 1;
  params.value[0] = reinterpret_cast<contract::ParamSlot>("PLAYBACK_PLAY");

  bench::CompareInRounds(
      "Lumidor ActionManual(\"PLAYBACK_PLAY\") to a player on another thread", [&](int i) { actionManual(&params, i); },
      [&](int i) {
        HWND window = FindWindowA(standins::kPlayerClass, nullptr);
        const LRESULT result = SendMessageA(window, standins::kPlayerCommand, 101, 0);
        PostMessageA(host.hwnd(), contract::WM_PLUGIN_ACTION_DONE, static_cast<WPARAM>(i), result);
      },
      [&] {
        host.pumpPending();
        host.clear();
        player.clear();
      },
      1.3);
  return 0;
}
