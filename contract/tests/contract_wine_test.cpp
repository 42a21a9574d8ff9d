// The shared Win32 steps: the completion, the report before a failed completion, the settings path.
#include <gtest/gtest.h>

#include "contract/win/exports.h"
#include "recording_host.h"

namespace {

TEST(ContractWin, CompletionIsPostedOnceAndFailureReportedFirst) {
  harness::RecordingHost host;
  EXPECT_TRUE(contract::win::FinishAction(host.hwnd(), -2, 42));
  host.pumpPending();
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].message, contract::WM_PLUGIN_ACTION_DONE);
  EXPECT_EQ(host.messages()[0].wParam, static_cast<WPARAM>(-2));  // sign-extended
  EXPECT_EQ(host.messages()[0].lParam, 42);
  EXPECT_FALSE(host.messages()[0].sent);

  host.clear();
  ActionParams params{};
  params.count = 1;
  params.value[0] = reinterpret_cast<contract::ParamSlot>("HOLD");
  EXPECT_TRUE(contract::win::FinishActionWithReport(host.hwnd(), &params, 9, 0, "Keyboard"));
  // The report is sent (handled during the call), the completion only posted.
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].logText, "Invalid params: Keyboard.ActionManual(\"HOLD\")");
  host.pumpPending();
  ASSERT_EQ(host.messages().size(), 2u);
  EXPECT_TRUE(host.messages()[1].isDone());
  EXPECT_EQ(host.messages()[1].lParam, 0);

  host.clear();
  EXPECT_TRUE(contract::win::FinishActionWithReport(host.hwnd(), &params, 9, 1, "Keyboard"));
  host.pumpPending();
  EXPECT_TRUE(host.logs().empty());

  HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  EXPECT_FALSE(contract::win::FinishAction(gone, 1, 1)) << "a host window that is gone: the posting fails";
}

TEST(ContractWin, SettingsFileSitsBesideTheModule) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string expected(exe);
  expected.replace(expected.size() - 4, 4, ".ini");
  EXPECT_EQ(contract::win::SettingsFilePath(contract::win::ThisModule()), expected);
  EXPECT_EQ(contract::win::ThisModule(), GetModuleHandleA(nullptr)) << "linked into the test executable itself";
}

}  // namespace
