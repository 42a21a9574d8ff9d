// ActionManual of the media-manager and TV-application plug-ins against their stand-in windows on
// another thread, each beside what the same work costs done directly: the window lookup (by class
// for the manager, by title for the TV screen), a PostMessage to the application and a PostMessage
// to the host.
#include <cstdio>

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

}  // namespace

int main() {
  harness::RecordingHost host;
  {
    harness::PluginModule plugin("Jubelon.dll");
    standins::ManagerStandIn manager;
    plugin.get<OpenFn>("Open")(nullptr, host.hwnd(), 0);
    const auto actionManual = plugin.get<ActionManualFn>("ActionManual");
    const ActionParams params = contract::WordBlock("VOLUME_SET", 2, 1, 50);
    bench::CompareInRounds(
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
        },
        1.3);
  }
  {
    harness::PluginModule plugin("Korvid.dll");
    standins::TvScreenStandIn screen;
    plugin.get<OpenFn>("Open")(nullptr, host.hwnd(), 0);
    const auto actionManual = plugin.get<ActionManualFn>("ActionManual");
    const ActionParams params = contract::WordBlock("VOLUME", 2, 1, 30);
    bench::CompareInRounds(
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
        },
        1.3);
    plugin.get<void(__stdcall*)()>("Close")();
  }
  return 0;
}
