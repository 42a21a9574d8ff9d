// Calling a plug-in's ActionManual from a test the way a host does: the completion is posted to the
// host window, so it is collected by pumping the host's queue after the call returned.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "contract/params_block.h"
#include "contract/plugin_contract.h"
#include "recording_host.h"

namespace harness {

using ActionManualFn = BOOL(__stdcall*)(const contract::ActionParams*, std::int32_t);

using contract::WordBlock;

// Calls ActionManual and returns the results of the completions it posted (a correct plug-in
// posts exactly one), after checking that each completion was posted with the caller's id.
inline std::vector<LPARAM> CallAction(ActionManualFn actionManual, RecordingHost& host,
                                      const contract::ActionParams* params, std::int32_t actionId) {
  host.clear();
  EXPECT_TRUE(actionManual(params, actionId));
  host.pumpPending();
  std::vector<LPARAM> results;
  for (const HostMessage& done : host.dones()) {
    EXPECT_EQ(done.wParam, static_cast<WPARAM>(static_cast<std::intptr_t>(actionId)));
    EXPECT_FALSE(done.sent) << "a completion is posted";
    results.push_back(done.lParam);
  }
  return results;
}

}  // namespace harness
