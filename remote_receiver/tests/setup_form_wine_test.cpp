// The settings window under Wine: Setup shows it modally on the test's thread while a helper
// thread drives it by its controls, as a user would, and the sensor stand-in reports codes.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "sendaro_scenario.h"
#include "setup_window_driver.h"

namespace {

using sendaro_test::EventClock;
using sendaro_test::MessageBoxWatcher;
using sendaro_test::ReportCounter;
using sendaro_test::Scenario;
using sendaro_test::SetupWindowDriver;
using sendaro_test::SetupWindowSession;
using sendaro_test::StandIn;

constexpr char kCaption[] = "Sendaro Control (VGA/TV Tuner)";
constexpr DWORD kUiWait = 3000;

void* const* SetupFormExport(const Scenario& scenario) {
  HMODULE plugin = GetModuleHandleA(scenario.file("Sendaro.dll").c_str());
  return reinterpret_cast<void* const*>(GetProcAddress(plugin, "_SetupForm"));
}

std::string ReadIni(const Scenario& scenario, const char* key) {
  char value[64];
  GetPrivateProfileStringA("Main", key, "", value, sizeof value, scenario.file("Sendaro.ini").c_str());
  return value;
}

TEST(SetupWindow, LayoutCaptionsGridAndFields) {
  harness::RecordingHost host;
  Scenario scenario("form_layout", "remtctrl_standin",
                    "[Main]\r\nWait1=450\r\n[Codes]\r\n0B=Eleven\r\n1a=Power\r\n20=Volume up\r\n");
  scenario.Preload();
  scenario.Open(nullptr, host.hwnd());
  void* const* setupForm = SetupFormExport(scenario);
  ASSERT_NE(setupForm, nullptr);
  EXPECT_EQ(*setupForm, nullptr);
  SetupWindowSession session([&](SetupWindowDriver& d) {
    HWND form = d.form();
    EXPECT_NE(*setupForm, nullptr);
    EXPECT_EQ(SetupWindowDriver::Text(form), kCaption);
    EXPECT_FALSE(IsWindowEnabled(host.hwnd()));  // modal to the host
    RECT client;
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 492);
    EXPECT_EQ(client.bottom, 183);
    const LONG_PTR style = GetWindowLongPtrA(form, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT frame;
    GetWindowRect(form, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_NE(SendMessageA(form, WM_GETICON, ICON_BIG, 0), 0);

    EXPECT_EQ(SetupWindowDriver::Text(d.At("Button", 0, 0)), "Monitoring");
    EXPECT_EQ(SetupWindowDriver::Text(d.At("Button", 0, 61)), "Timing");
    EXPECT_EQ(SetupWindowDriver::Text(d.At("Static", 12, 20)), "Code:");
    EXPECT_EQ(SetupWindowDriver::Text(d.At("Static", 12, 40)), "");
    HWND close = d.At("Button", 4, 155);
    EXPECT_EQ(SetupWindowDriver::Text(close), "Close");
    EXPECT_EQ(GetWindowLongPtrA(close, GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
    RECT closeRect;
    GetWindowRect(close, &closeRect);
    EXPECT_EQ(closeRect.right - closeRect.left, 75);
    EXPECT_EQ(closeRect.bottom - closeRect.top, 25);

    const std::pair<POINT, const char*> labels[] = {{{8, 77}, "Wait before repeat"},
                                                    {{8, 101}, "Repeat period"},
                                                    {{8, 125}, "Release timeout"},
                                                    {{164, 77}, "Update"}};
    for (const auto& [at, text] : labels) EXPECT_EQ(SetupWindowDriver::Text(d.At("Static", at.x, at.y)), text);
    // FormShow puts the current settings into the fields: Wait1 from the file, the rest defaults.
    const char* values[] = {"450", "100", "200", "50"};
    for (int field = 0; field < 4; ++field) {
      HWND edit = d.Edit(field);
      ASSERT_NE(edit, nullptr) << field;
      EXPECT_EQ(SetupWindowDriver::Text(edit), values[field]);
      EXPECT_TRUE(GetWindowLongPtrA(edit, GWL_STYLE) & ES_READONLY);
      HWND spin = d.Spin(field);
      ASSERT_NE(spin, nullptr) << field;
      EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)), edit);
      EXPECT_FALSE(GetWindowLongPtrA(spin, GWL_STYLE) & UDS_WRAP);
    }

    HWND grid = d.grid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(SendMessageA(grid, LVM_GETCOLUMNWIDTH, 0, 0), 60);
    EXPECT_EQ(SendMessageA(grid, LVM_GETCOLUMNWIDTH, 1, 0), 111);
    for (int column = 0; column < 2; ++column) {
      char title[16] = {};
      LVCOLUMNA info{};
      info.mask = LVCF_TEXT;
      info.pszText = title;
      info.cchTextMax = sizeof title;
      SendMessageA(grid, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
      EXPECT_STREQ(title, column == 0 ? "Code" : "Key");
    }
    EXPECT_TRUE(SendMessageA(grid, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES);
    EXPECT_FALSE(GetWindowLongPtrA(grid, GWL_STYLE) & LVS_EDITLABELS);
    const std::pair<const char*, const char*> rows[] = {{"0B", "Eleven"}, {"1a", "Power"}, {"20", "Volume up"}};
    ASSERT_EQ(d.RowCount(), 3);
    for (int row = 0; row < 3; ++row) {
      EXPECT_EQ(d.Cell(row, 0), rows[row].first);
      EXPECT_EQ(d.Cell(row, 1), rows[row].second);
    }
    EXPECT_EQ(d.SelectedRow(), -1);
    d.ClickClose();
  });
  scenario.Setup();
  session.Wait();
  EXPECT_TRUE(session.found());
  EXPECT_EQ(*setupForm, nullptr);
  EXPECT_TRUE(IsWindowEnabled(host.hwnd()));
  EXPECT_EQ(FindWindowA("TSetupForm", nullptr), nullptr);
  scenario.Close();
}

// Presses while the window is shown: labels, selection, one report per press, nothing to the host;
// monitoring runs during the window and is as before afterwards.
TEST(SetupWindow, PressesShowTheirCodeAndNameAndSelectTheRow) {
  harness::RecordingHost host;
  EventClock clock(host);
  Scenario scenario("form_presses", "remtctrl_standin",
                    "[Main]\r\nInterval=20\r\n[Codes]\r\n0B=Eleven\r\n1A=Power\r\n20=Volume up\r\n");
  StandIn standIn = scenario.Preload();
  scenario.Open(nullptr, host.hwnd());  // stopped: Setup starts monitoring for the window only
  const std::size_t threadsBefore = sendaro_test::ThreadCount();
  SetupWindowSession session([&](SetupWindowDriver& d) {
    ReportCounter reports(d.form());
    HWND group = d.At("Button", 0, 0);
    HWND code = d.At("Static", 12, 20);
    HWND key = d.At("Static", 12, 40);
    standIn.queue({0x1A});
    ASSERT_TRUE(SetupWindowDriver::WaitText(group, "Pressed", kUiWait));
    ASSERT_TRUE(SetupWindowDriver::WaitText(key, "Key: Power", kUiWait));
    EXPECT_EQ(SetupWindowDriver::Text(code), "Code: 1A");
    EXPECT_EQ(d.SelectedRow(), 1);
    ASSERT_TRUE(SetupWindowDriver::WaitText(group, "Released", kUiWait));
    EXPECT_EQ(SetupWindowDriver::Text(code), "Code: 1A");
    EXPECT_EQ(SetupWindowDriver::Text(key), "Key: Power");

    // The user selects another row; the same button again neither rewrites the labels nor moves it.
    d.SelectRow(2);
    SetWindowTextA(key, "untouched");
    standIn.queue({0x1A});
    ASSERT_TRUE(SetupWindowDriver::WaitText(group, "Pressed", kUiWait));
    ASSERT_TRUE(SetupWindowDriver::WaitText(group, "Released", kUiWait));
    EXPECT_EQ(SetupWindowDriver::Text(key), "untouched");
    EXPECT_EQ(d.SelectedRow(), 2);

    // A code without a name shows its code text and leaves the selection.
    standIn.queue({0x33});
    ASSERT_TRUE(SetupWindowDriver::WaitText(key, "Key: 33", kUiWait));
    EXPECT_EQ(SetupWindowDriver::Text(code), "Code: 33");
    EXPECT_EQ(d.SelectedRow(), 2);
    ASSERT_TRUE(SetupWindowDriver::WaitText(group, "Released", kUiWait));

    // Held past Wait1 and several repeat periods: one press report, then one release.
    const int pressedBefore = reports.pressed();
    const int releasedBefore = reports.released();
    standIn.setCode(0x0B);
    ASSERT_TRUE(SetupWindowDriver::WaitText(key, "Key: Eleven", kUiWait));
    Sleep(800);
    standIn.setCode(255);
    ASSERT_TRUE(SetupWindowDriver::WaitText(group, "Released", kUiWait));
    EXPECT_EQ(reports.pressed() - pressedBefore, 1);
    EXPECT_EQ(reports.released() - releasedBefore, 1);
    EXPECT_EQ(d.SelectedRow(), 0);
    d.CloseBox();
  });
  scenario.Setup();
  session.Wait();
  ASSERT_TRUE(session.found());
  host.pumpFor(100);
  EXPECT_TRUE(clock.events().empty()) << clock.events().size() << " events reached the host";
  // Stopped before Setup, stopped after it.
  EXPECT_EQ(sendaro_test::ThreadCount(), threadsBefore);

  // A second window starts with no code shown: the button pressed last time shows again.
  scenario.Start();
  SetupWindowSession again([&](SetupWindowDriver& d) {
    standIn.queue({0x0B});
    EXPECT_TRUE(SetupWindowDriver::WaitText(d.At("Static", 12, 40), "Key: Eleven", kUiWait));
    EXPECT_EQ(SetupWindowDriver::Text(d.At("Static", 12, 20)), "Code: 0B");
  });
  scenario.Setup();
  again.Wait();
  // Running before Setup, running after it: presses reach the host again.
  standIn.queue({0x1A});
  ASSERT_TRUE(host.pumpUntil([&] { return !clock.events().empty(); }, kUiWait));
  EXPECT_EQ(clock.events().front().message.eventText, "Power");
  scenario.Close();
}

TEST(SetupWindow, SpinFieldsStopAtTheirBoundsAndAreSavedOnClosing) {
  harness::RecordingHost host;
  Scenario scenario("form_spins", "remtctrl_standin", "[Main]\r\nInterval=10\r\nWait1=1000\r\nWaitR=500\r\n");
  scenario.Preload();
  scenario.Open(nullptr, host.hwnd());
  for (const bool byCloseBox : {false, true}) {
    SetupWindowSession session([&](SetupWindowDriver& d) {
      HWND wait1 = d.Edit(0);
      HWND interval = d.Edit(3);
      if (!byCloseBox) {
        SetupWindowDriver::ClickArrow(d.Spin(0), true);  // at 1000: stays
        EXPECT_EQ(SetupWindowDriver::Text(wait1), "1000");
        SetupWindowDriver::ClickArrow(d.Spin(3), false);  // at 10: stays
        EXPECT_EQ(SetupWindowDriver::Text(interval), "10");
        SetupWindowDriver::ClickArrow(d.Spin(0), false);
        SetupWindowDriver::ClickArrow(d.Spin(0), false);
        EXPECT_EQ(SetupWindowDriver::Text(wait1), "900");
        SetupWindowDriver::ClickArrow(d.Spin(3), true);
        EXPECT_EQ(SetupWindowDriver::Text(interval), "20");
        SetupWindowDriver::ClickArrow(d.Spin(2), false);
        EXPECT_EQ(SetupWindowDriver::Text(d.Edit(2)), "450");
        d.ClickClose();
      } else {
        // The second window shows what the first left, and the close box saves the same way.
        EXPECT_EQ(SetupWindowDriver::Text(wait1), "900");
        EXPECT_EQ(SetupWindowDriver::Text(interval), "20");
        SetupWindowDriver::ClickArrow(d.Spin(1), true);
        EXPECT_EQ(SetupWindowDriver::Text(d.Edit(1)), "150");
        SetupWindowDriver::ClickArrow(d.Spin(3), true);
        d.CloseBox();
      }
    });
    scenario.Setup();
    session.Wait();
    ASSERT_TRUE(session.found());
  }
  EXPECT_EQ(ReadIni(scenario, "Wait1"), "900");
  EXPECT_EQ(ReadIni(scenario, "WaitN"), "150");
  EXPECT_EQ(ReadIni(scenario, "WaitR"), "450");
  EXPECT_EQ(ReadIni(scenario, "Interval"), "30");
  scenario.Close();
}

// In setup mode no repeat leaves the threads, so the new wait shows in the file and in the threads
// that run after the window (the threads' reading of it at each press is a core test).
TEST(SetupWindow, WaitBeforeRepeatChangedInTheWindowIsUsedAfterwards) {
  harness::RecordingHost host;
  EventClock clock(host);
  Scenario scenario("form_wait1", "remtctrl_standin", "[Main]\r\nInterval=20\r\n[Codes]\r\n1A=Power\r\n");
  StandIn standIn = scenario.OpenRunning(host.hwnd());
  SetupWindowSession session([&](SetupWindowDriver& d) {
    for (int i = 0; i < 4; ++i) SetupWindowDriver::ClickArrow(d.Spin(0), true);  // 300 -> 500
    EXPECT_EQ(SetupWindowDriver::Text(d.Edit(0)), "500");
  });
  scenario.Setup();
  session.Wait();
  EXPECT_EQ(ReadIni(scenario, "Wait1"), "500");
  standIn.setCode(0x1A);
  ASSERT_TRUE(host.pumpUntil([&] { return clock.events().size() >= 2; }, kUiWait));
  standIn.setCode(255);
  const auto events = clock.events();
  EXPECT_EQ(events[0].state(), 0);
  EXPECT_EQ(events[1].state(), 1);
  EXPECT_GE(events[1].ms - events[0].ms, 500 - 20.0);
  host.pumpFor(400);
  scenario.Close();
}

TEST(SetupWindow, UnboundLibraryShowsTheHelpOnActivation) {
  harness::RecordingHost host;
  MessageBoxWatcher watcher(kCaption);
  Scenario scenario("form_unbound", "", "[Main]\r\nWait1=300\r\n");
  scenario.Open(nullptr, host.hwnd());
  SetupWindowSession session([&](SetupWindowDriver& d) {
    auto boxes = [&] { return watcher.seen().size(); };
    const DWORD start = GetTickCount();
    while (boxes() < 2 && GetTickCount() - start < kUiWait) Sleep(10);
    ASSERT_EQ(boxes(), 2u);
    // Back from the help message: no new one.
    Sleep(300);
    EXPECT_EQ(boxes(), 2u);
    // The window still works: a timing change is taken and saved.
    SetupWindowDriver::ClickArrow(d.Spin(0), true);
    EXPECT_EQ(SetupWindowDriver::Text(d.Edit(0)), "350");
    d.ClickClose();
  });
  scenario.Setup();
  session.Wait();
  ASSERT_TRUE(session.found());
  const auto seen = watcher.seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, "Load RemtCtrl.dll Fail.");
  EXPECT_EQ(seen[1].text,
            "Initial Remote Contrl Fail.\n\nSupports following hardware devices.\n1. MSI VGA Cards which with remote "
            "control sensor.\n2. MSI TV Tuner Cards (MS-8606_c)\n\nSystem Requirement:\nWindowsR 98, WindowsR "
            "Millennium, WindowsR 2000 and WindowsR XP\n\nDrivers:\nFor MSI TV Tuner Cards, please install the TV "
            "Tuner Cards' driver first,\nthen Remote Control Functions will be available.\n\nRequired Files:\n1. "
            "RemtCtrl.dll\n2. Fornvi2c.dll\n3. Nvapi9x.dll\n4. Nvgpio.dll\nNote: Please place all files above into the "
            "same plugin directory.");
  EXPECT_TRUE(seen[1].warningIcon);
  EXPECT_TRUE(seen[1].onlyOk);
  EXPECT_EQ(ReadIni(scenario, "Wait1"), "350");
  scenario.Close();
}

// 5,000 codes, some with names of 1,000 characters (the settings file's section is read up to
// 1 MB), and a new code every millisecond while the window is shown: it answers, the labels are
// those of one press, and closing ends Setup promptly.
TEST(SetupWindow, StaysResponsiveUnderALargeTableAndAFastPressStream) {
  harness::RecordingHost host;
  EventClock clock(host);
  auto nameOf = [](int code) {
    char prefix[16];
    wsprintfA(prefix, "%X-", code);
    return std::string(prefix) + std::string(code % 100 == 0 ? 1000 : 150, static_cast<char>('a' + code % 26));
  };
  std::string ini = "[Main]\r\nInterval=1\r\n[Codes]\r\n";
  for (int code = 0x100; code < 0x100 + 5000; ++code) {
    char key[16];
    wsprintfA(key, "%X=", code);
    ini += key + nameOf(code) + "\r\n";
  }
  Scenario scenario("form_stress", "remtctrl_standin", ini.c_str());
  StandIn standIn = scenario.Preload();
  scenario.Open(nullptr, host.hwnd());
  double closedAt = 0;
  SetupWindowSession session([&](SetupWindowDriver& d) {
    EXPECT_EQ(d.RowCount(), 5000);
    std::vector<std::int32_t> stream;
    for (int i = 0; i < 2000; ++i) stream.push_back(0x100 + (i * 7) % 5000);
    standIn.queueCodes(stream.data(), static_cast<std::int32_t>(stream.size()));
    HWND code = d.At("Static", 12, 20);
    HWND key = d.At("Static", 12, 40);
    double worstAnswer = 0;
    const double start = sendaro_test::NowMs();
    while (sendaro_test::NowMs() - start < 2500) {
      const double before = sendaro_test::NowMs();
      DWORD_PTR result = 0;
      EXPECT_NE(SendMessageTimeoutA(d.form(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result), 0);
      worstAnswer = std::max(worstAnswer, sendaro_test::NowMs() - before);
      Sleep(20);
    }
    EXPECT_LT(worstAnswer, 500.0);
    // The stream lasts some seconds more when the sensor's pauses run long.
    ASSERT_TRUE(SetupWindowDriver::WaitText(d.At("Button", 0, 0), "Released", 15000));
    // The labels name one press: the key label is the first 123 characters of that code's name.
    const std::string codeText = SetupWindowDriver::Text(code);
    ASSERT_EQ(codeText.rfind("Code: ", 0), 0u);
    const int shown = static_cast<int>(std::stoul(codeText.substr(6), nullptr, 16));
    EXPECT_EQ(SetupWindowDriver::Text(key), "Key: " + nameOf(shown).substr(0, 123));
    EXPECT_EQ(d.Cell(d.SelectedRow(), 0), codeText.substr(6));
    closedAt = sendaro_test::NowMs();
    d.ClickClose();
  });
  scenario.Setup();
  const double returnedAt = sendaro_test::NowMs();
  session.Wait();
  ASSERT_TRUE(session.found());
  // Under Xvfb without a window manager, Wine waits up to 2 s for a shown top-level window to be
  // withdrawn when it goes; the rest of Setup's ending takes about 100 ms.
  EXPECT_LT(returnedAt - closedAt, 4000.0);
  EXPECT_TRUE(clock.events().empty());
  scenario.Close();
}

}  // namespace
