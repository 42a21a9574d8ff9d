// Korvid.dll loaded for one test, opened on a recording host window of the test's thread.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "action_calls.h"
#include "contract/plugin_contract.h"
#include "plugin_module.h"
#include "recording_host.h"
#include "tv_standin.h"

namespace korvid_tests {

using contract::ActionParams;
using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
using WatchFn = void(__stdcall*)(const ActionParams*);
using CloseFn = void(__stdcall*)();

class KorvidTest : public ::testing::Test {
 protected:
  harness::PluginModule plugin{"Korvid.dll"};
  harness::RecordingHost host;
  OpenFn open = plugin.get<OpenFn>("Open");
  CloseFn close = plugin.get<CloseFn>("Close");
  harness::ActionManualFn actionManual = plugin.get<harness::ActionManualFn>("ActionManual");
  WatchFn startManual = plugin.get<WatchFn>("StartManual");
  WatchFn stopManual = plugin.get<WatchFn>("StopManual");

  void SetUp() override { ASSERT_STREQ(open(nullptr, host.hwnd(), 0), "Korvid control"); }
  void TearDown() override { close(); }

  std::vector<LPARAM> act(const ActionParams* params, std::int32_t actionId = 7) {
    return harness::CallAction(actionManual, host, params, actionId);
  }
  std::vector<LPARAM> act(const char* word, std::int32_t count = 1, contract::ParamSlot value1 = 0) {
    const ActionParams params = harness::WordBlock(word, count, 1, value1);
    return act(&params);
  }
  void watch(WatchFn entry, const char* word, std::int32_t count = 1) {
    const ActionParams params = harness::WordBlock(word, count);
    entry(&params);
  }

  // Waits until the screen has `n` messages: they are posted, and arrive on its thread later.
  static std::vector<standins::ReceivedMessage> receivedBy(const standins::TvScreenStandIn& screen, std::size_t n) {
    const ULONGLONG deadline = GetTickCount64() + 2000;
    while (screen.received().size() < n && GetTickCount64() < deadline) Sleep(2);
    return screen.received();
  }
};

}  // namespace korvid_tests
