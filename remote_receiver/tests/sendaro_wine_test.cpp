// Sendaro.dll under Wine: binding the sensor library from the plug-in's folder, the message boxes,
// the lifecycle, and press, repeat and release reaching a host window on the test's thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sendaro_scenario.h"
#include "setup_window_driver.h"

namespace {

using sendaro_test::EventClock;
using sendaro_test::MessageBoxWatcher;
using sendaro_test::Scenario;
using sendaro_test::StandIn;
using sendaro_test::TimedEvent;

constexpr char kDescription[] = "Sendaro Control (VGA/TV Tuner)";
constexpr char kCodesPower[] = "[Codes]\r\n1A=Power\r\n";

// GetTickCount moves in 16 ms steps here, so a wait measured with it can end up to 16 ms early in
// real time; waits and sleeps overshoot by about a millisecond. An event may therefore come at
// most this much before its due time ...
constexpr double kEarlyMargin = 20.0;
// ... and, on two cores shared with other builds, it may come late by far more; lateness is only
// bounded loosely.
constexpr double kLateMargin = 150.0;

TEST(SendaroBinding, EveryLibraryFailureShowsItsOneMessageAndLeavesNothingLoaded) {
  struct Case {
    const char* variant;
    const char* message;
  };
  const Case cases[] = {
      {"", "Load RemtCtrl.dll Fail."},
      {"remtctrl_standin_noinit", "Can't get function address 'InitRemoteCtrl'"},
      {"remtctrl_standin_initfails", "Initial Remote Contrl Fail."},
      {"remtctrl_standin_initfails_noread", "Initial Remote Contrl Fail."},
      {"remtctrl_standin_noread", "Can't get function address 'ReadRemoteData'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variant);
    harness::RecordingHost host;
    Scenario scenario(std::string("fail_") + (*c.variant ? c.variant : "missing"), c.variant, kCodesPower);
    const std::string before = sendaro_test::CurrentDirectory();
    std::vector<sendaro_test::SeenBox> seen;
    {
      MessageBoxWatcher watcher(kDescription);
      EXPECT_STREQ(scenario.Open(nullptr, host.hwnd()), kDescription);
      seen = watcher.seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, kDescription);
    EXPECT_EQ(seen[0].text, c.message);
    EXPECT_TRUE(seen[0].stopIcon);
    EXPECT_TRUE(seen[0].onlyOk);
    EXPECT_EQ(sendaro_test::CurrentDirectory(), before);
    EXPECT_EQ(Scenario::LoadedLibrary(), nullptr) << "the library is unloaded again";
    // Unbound: Start starts nothing, and nothing reaches the host.
    const std::size_t threads = sendaro_test::ThreadCount();
    scenario.Start();
    EXPECT_EQ(sendaro_test::ThreadCount(), threads);
    host.pumpFor(100);
    EXPECT_TRUE(host.messages().empty());
    scenario.Stop();
    scenario.Close();
    scenario.Close();
  }
}

TEST(SendaroBinding, LoadsTheLibraryBesideThePluginAndRestoresTheCurrentDirectory) {
  harness::RecordingHost host;
  Scenario scenario("bound", "remtctrl_standin", kCodesPower);
  const std::string before = sendaro_test::CurrentDirectory();
  ASSERT_NE(before, scenario.folder());
  MessageBoxWatcher watcher(kDescription);
  EXPECT_STREQ(scenario.Open(nullptr, host.hwnd()), kDescription);
  EXPECT_EQ(sendaro_test::CurrentDirectory(), before);
  const HMODULE library = Scenario::LoadedLibrary();
  ASSERT_NE(library, nullptr);
  char path[MAX_PATH];
  GetModuleFileNameA(library, path, MAX_PATH);
  EXPECT_EQ(std::string(path), scenario.file("RemtCtrl.dll"));
  const StandIn standIn(library);
  EXPECT_EQ(standIn.initCalls(), 1);
  EXPECT_EQ(standIn.lastInitArgument(), 0);

  scenario.Stop();  // before any Start: nothing happens
  const std::size_t threads = sendaro_test::ThreadCount();
  scenario.Start();
  EXPECT_EQ(standIn.initCalls(), 2) << "every Start initialises the sensor again";
  EXPECT_EQ(sendaro_test::ThreadCount(), threads + 2);
  scenario.Start();
  EXPECT_EQ(standIn.initCalls(), 2);
  EXPECT_EQ(sendaro_test::ThreadCount(), threads + 2);
  host.pumpFor(120);
  EXPECT_GE(standIn.readCalls(), 2);
  scenario.Stop();
  EXPECT_EQ(sendaro_test::ThreadCount(), threads);
  scenario.Close();
  EXPECT_EQ(Scenario::LoadedLibrary(), nullptr);
  scenario.Close();
  EXPECT_TRUE(watcher.seen().empty());
  EXPECT_TRUE(host.messages().empty());
}

TEST(SendaroBinding, AFailingInitialisationAtStartStartsNothingSilently) {
  harness::RecordingHost host;
  Scenario scenario("init_fails_later", "remtctrl_standin", kCodesPower);
  StandIn standIn = scenario.Preload();
  standIn.setInitResults(1, 0);
  standIn.setCode(0x1A);
  MessageBoxWatcher watcher(kDescription);
  scenario.Open(nullptr, host.hwnd());
  const std::size_t threads = sendaro_test::ThreadCount();
  scenario.Start();
  host.pumpFor(150);
  EXPECT_EQ(standIn.initCalls(), 2);
  EXPECT_EQ(standIn.readCalls(), 0);
  EXPECT_EQ(sendaro_test::ThreadCount(), threads);
  EXPECT_TRUE(host.messages().empty());
  EXPECT_TRUE(watcher.seen().empty());
}

struct TimingCase {
  const char* name;
  const char* ini;
  double interval, wait1, waitN, waitR;
};

// Checks one hold of a button against the timings: the press, repeats counting up from 1 that keep
// their distances, and the release after the last reading.
void ExpectHoldTimeline(const std::vector<TimedEvent>& events, const TimingCase& timing, double lastReadMs) {
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front().state(), 0);
  EXPECT_EQ(events.back().state(), -1);
  const double pollPeriod = std::min(timing.waitN, timing.waitR);
  for (std::size_t i = 1; i + 1 < events.size(); ++i) {
    EXPECT_EQ(events[i].state(), static_cast<std::intptr_t>(i)) << i;
    const double gap = events[i].ms - events[i - 1].ms;
    const double wait = i == 1 ? timing.wait1 : timing.waitN;
    EXPECT_GE(gap, wait - kEarlyMargin) << "repeat " << i;
    EXPECT_LE(gap, wait + timing.interval + kLateMargin) << "repeat " << i;
  }
  const double release = events.back().ms - lastReadMs;
  EXPECT_GE(release, timing.waitR - kEarlyMargin);
  EXPECT_LE(release, timing.waitR + pollPeriod + kLateMargin);
  for (const TimedEvent& e : events) {
    EXPECT_EQ(e.message.eventText, "Power");
    EXPECT_EQ(e.message.instanceName, "REMOTE");
    EXPECT_EQ(e.message.ext, "EXT");
    ASSERT_EQ(e.message.params.size(), 2u);
    EXPECT_EQ(std::get<std::string>(e.message.params[0]), "1A");
    EXPECT_EQ(std::get<std::string>(e.message.params[1]), "Sendaro Control");
    EXPECT_TRUE(e.message.sent && e.message.fromOtherThread);
  }
}

TEST(SendaroEvents, HeldButtonKeepsItsTimingWithDefaultAndFileTimings) {
  const TimingCase cases[] = {
      {"defaults", kCodesPower, 50, 300, 100, 200},
      {"from_file", "[Main]\r\nInterval=10\r\nWait1=0x96\r\nWaitN=60\r\nWaitR=120\r\n[Codes]\r\n1a=Power\r\n", 10, 150,
       60, 120},
  };
  for (const TimingCase& timing : cases) {
    SCOPED_TRACE(timing.name);
    harness::RecordingHost host;
    EventClock clock(host);
    Scenario scenario(std::string("timing_") + timing.name, "remtctrl_standin", timing.ini);
    StandIn standIn = scenario.OpenRunning(host.hwnd());
    standIn.setCode(0x1A);
    host.pumpFor(1000);
    standIn.setCode(255);
    const double stoppedAt = sendaro_test::NowMs();
    ASSERT_TRUE(host.pumpUntil([&] { return !clock.events().empty() && clock.events().back().state() == -1; }, 2000));
    const double lastRead = sendaro_test::CounterToMs(standIn.lastButtonRead());
    EXPECT_LE(lastRead, stoppedAt + 1);
    const auto events = clock.events();
    ExpectHoldTimeline(events, timing, lastRead);
    // About (1000 - Wait1) / WaitN repeats, fewer when the machine is busy.
    EXPECT_GE(events.size(), 4u);
    scenario.Stop();
  }
}

TEST(SendaroEvents, UnknownCodesAndLongNames) {
  const std::string longName(200, 'x');
  const std::string ini = "[Codes]\r\n1B=" + longName + "\r\n";
  harness::RecordingHost host;
  EventClock clock(host);
  Scenario scenario("names", "remtctrl_standin", ini.c_str());
  StandIn standIn = scenario.Preload();
  const std::string instance(100, 'i');
  scenario.Open(instance.c_str(), host.hwnd());
  scenario.Start();
  standIn.queue({0x26});
  ASSERT_TRUE(host.pumpUntil([&] { return clock.events().size() >= 2; }, 2000));
  standIn.queue({0x1B});
  ASSERT_TRUE(host.pumpUntil([&] { return clock.events().size() >= 4; }, 2000));
  host.pumpFor(100);
  const auto events = clock.events();
  ASSERT_EQ(events.size(), 4u) << "a tap: press and release only";
  const std::pair<std::intptr_t, std::string> want[] = {
      {0, "26"}, {-1, "26"}, {0, longName.substr(0, 123)}, {-1, longName.substr(0, 123)}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(events[i].state(), want[i].first) << i;
    EXPECT_EQ(events[i].message.eventText, want[i].second) << i;
    EXPECT_EQ(events[i].message.instanceName, instance.substr(0, 63));
  }
  EXPECT_EQ(std::get<std::string>(events[0].message.params[0]), "26");
  EXPECT_EQ(std::get<std::string>(events[0].message.params[1]), "<undefined>");
  EXPECT_EQ(std::get<std::string>(events[2].message.params[0]), "1B");
  EXPECT_EQ(std::get<std::string>(events[2].message.params[1]), "Sendaro Control");
}

TEST(SendaroEvents, StopWhileHeldSendsNoReleaseAndTheNextStartPressesAgain) {
  harness::RecordingHost host;
  EventClock clock(host);
  Scenario scenario("stop_held", "remtctrl_standin", kCodesPower);
  StandIn standIn = scenario.Preload();
  scenario.Open(nullptr, host.hwnd());
  standIn.setCode(0x1A);
  scenario.Start();
  ASSERT_TRUE(host.pumpUntil([&] { return !clock.events().empty(); }, 2000));
  scenario.Stop();
  host.pumpFor(400);
  for (const TimedEvent& e : clock.events()) EXPECT_NE(e.state(), -1);
  clock.clear();
  // The same code after a new Start is a new press: the new event thread starts with no code.
  scenario.Start();
  ASSERT_TRUE(host.pumpUntil([&] { return !clock.events().empty(); }, 2000));
  EXPECT_EQ(clock.events().front().state(), 0);
  EXPECT_EQ(clock.events().front().message.eventText, "Power");
  scenario.Stop();
}

TEST(SendaroSetup, SavesTheWaitsAndReadsTheCodesAgain) {
  harness::RecordingHost host;
  EventClock clock(host);
  Scenario scenario("setup", "remtctrl_standin", "[Main]\r\nInterval=20\r\n[Codes]\r\n1A=Power\r\n");
  StandIn standIn = scenario.OpenRunning(host.hwnd());
  // A hand edit of the codes acts only after the next Setup.
  const std::string ini = scenario.file("Sendaro.ini");
  WritePrivateProfileStringA("Codes", "1A", "Mute", ini.c_str());
  standIn.queue({0x1A});
  ASSERT_TRUE(host.pumpUntil([&] { return clock.events().size() >= 2; }, 2000));
  EXPECT_EQ(clock.events().front().message.eventText, "Power");
  {
    sendaro_test::SetupWindowSession closer;
    scenario.Setup();
  }
  char value[32];
  const std::pair<const char*, const char*> saved[] = {{"Wait1", "300"}, {"WaitN", "100"}, {"WaitR", "200"}};
  for (const auto& [key, text] : saved) {
    GetPrivateProfileStringA("Main", key, "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, text) << key;
  }
  // Monitoring ran before Setup, so it runs after it, with the new names.
  clock.clear();
  standIn.queue({0x1A});
  ASSERT_TRUE(host.pumpUntil([&] { return clock.events().size() >= 2; }, 2000));
  EXPECT_EQ(clock.events().front().message.eventText, "Mute");
  scenario.Stop();
  // Setup while stopped leaves it stopped.
  const std::size_t threads = sendaro_test::ThreadCount();
  {
    sendaro_test::SetupWindowSession closer;
    scenario.Setup();
  }
  EXPECT_EQ(sendaro_test::ThreadCount(), threads);
}

}  // namespace
