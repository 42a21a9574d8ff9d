// ActionManual of the media-manager and TV-application plug-ins against their stand-in windows on
// another thread, each beside what the same work costs done directly: the window lookup (by class
// for the manager, by title for the TV screen), a PostMessage to the application and a PostMessage
// to the host.
#include <cstdio>
#include <functional>

#include "bench_support.h"
#include "contract/params_block.h"
#include "contract/plugin_contract.h"
#include "manager_standin.h"
#include "plugin_module.h"
#include "recording_host.h"
#include "tv_standin.h"

namespace {

using contract::ActionParams;
using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
using ActionManualFn = BOOL(__stdcall*)(const ActionParams*, std::int32_t);

// Alternating rounds, so that drift of the machine falls on both sides alike; `settle` empties the
// queues between rounds.
void Compare(const char* what, const std::function<void(int)>& viaPlugin, const std::function<void(int)>& direct,
             const std::function<void()>& settle) {
  bench::Samples pluginSamples, directSamples;
  constexpr int kRounds = 20;
  constexpr int kCallsPerRound = 100;
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < kCallsPerRound; ++i) pluginSamples.time([&] { viaPlugin(i); });
    settle();
    for (int i = 0; i < kCallsPerRound; ++i) directSamples.time([&] { direct(i); });
    settle();
  }
  bench::PrintComparison(what, pluginSamples, directSamples, 1.3);
}

}  // namespace

int main() {
  harness::RecordingHost host;
  {
    harness::PluginModule plugin("Jubelon.dll");
    standins::ManagerStandIn manager;
    plugin.get<OpenFn>("Open")(nullptr, host.hwnd(), 0);
    const auto actionManual = plugin.get<ActionManualFn>("ActionManual");
    const ActionParams params = contract::WordBlock("VOLUME_SET", 2, 1, 50);
    Compare(
        "Jubelon ActionManual(\"VOLUME_SET\", 50) to a manager on another thread",
        [&](int i) { actionManual(&params, i); },
        [&](int i) {
          HWND window = FindWindowA(standins::kManagerClass, nullptr);
          PostMessageA(window, standins::kManagerCommand, 10020, 50);
          PostMessageA(host.hwnd(), contract::WM_PLUGIN_ACTION_DONE, static_cast<WPARAM>(i), 1);
        },
        [&] {
          host.pumpPending();
          host.clear();
          Sleep(5);
          manager.clear();
        });
  }
  {
    harness::PluginModule plugin("Korvid.dll");
    standins::TvScreenStandIn screen;
    plugin.get<OpenFn>("Open")(nullptr, host.hwnd(), 0);
    const auto actionManual = plugin.get<ActionManualFn>("ActionManual");
    const ActionParams params = contract::WordBlock("VOLUME", 2, 1, 30);
    Compare(
        "Korvid ActionManual(\"VOLUME\", 30) to a TV screen on another thread",
        [&](int i) { actionManual(&params, i); },
        [&](int i) {
          HWND window = FindWindowA(nullptr, standins::kTvScreenTitle);
          const BOOL posted = PostMessageA(window, 1226, 30, 0);
          PostMessageA(host.hwnd(), contract::WM_PLUGIN_ACTION_DONE, static_cast<WPARAM>(i), posted);
        },
        [&] {
          host.pumpPending();
          host.clear();
          Sleep(5);
          screen.clear();
        });
    plugin.get<void(__stdcall*)()>("Close")();
  }
  return 0;
}
