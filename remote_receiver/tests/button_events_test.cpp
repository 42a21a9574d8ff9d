// The event thread's loop under a test clock: the press, repeat and release timing, the names it
// delivers and the hand-over through the reading slot.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "button_events.h"
#include "scripted_ports.h"

namespace sendaro {
namespace {

using testing::AddHeld;
using testing::Delivered;
using testing::ScriptedPorts;

struct World {
  contract::EventRecord record{};
  CodeTable codes;
  GroupList groups;
  Timings timings;
  ReadingSlot slot;
  std::atomic<std::int32_t> stop{0};
  ScriptedPorts ports{slot, record, stop};

  World() {
    groups.Reset();
    std::memcpy(record.instanceName, "REMOTE", 6);
  }

  // Runs the loop until the script is used up and the thread is idle again.
  const std::vector<Delivered>& Run() {
    ButtonEvents events(record, codes, groups, timings, slot, ports);
    events.Run(stop);
    return ports.delivered;
  }
};

struct Expected {
  std::uint32_t time;
  std::intptr_t state;
  std::string eventText;
  std::string codeText;
  std::string groupName;
};

void ExpectDeliveries(const std::vector<Delivered>& got, const std::vector<Expected>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].time, want[i].time) << "delivery " << i;
    EXPECT_EQ(got[i].state, want[i].state) << "delivery " << i;
    EXPECT_EQ(got[i].eventText, want[i].eventText) << "delivery " << i;
    EXPECT_EQ(got[i].codeText, want[i].codeText) << "delivery " << i;
    EXPECT_EQ(got[i].groupName, want[i].groupName) << "delivery " << i;
  }
}

TEST(ButtonEvents, DefaultTimelineOfAHeldButton) {
  World world;
  world.codes.Load({"1A=Power"});
  AddHeld(world.ports.arrivals, 0x1A, 1000, 1700, 50);  // the last reading at L = 1700
  world.ports.now = 1000;
  const auto& got = world.Run();
  // Repeat 1 at the first check 300 ms after the press, then every 100 ms; the release at the first
  // time-out with 200 ms since L; the repeat that fell due during the first time-out still comes.
  ExpectDeliveries(got, {{1000, 0, "Power", "1A", "Sendaro Control"},
                         {1300, 1, "Power", "1A", "Sendaro Control"},
                         {1400, 2, "Power", "1A", "Sendaro Control"},
                         {1500, 3, "Power", "1A", "Sendaro Control"},
                         {1600, 4, "Power", "1A", "Sendaro Control"},
                         {1700, 5, "Power", "1A", "Sendaro Control"},
                         {1800, 6, "Power", "1A", "Sendaro Control"},
                         {1900, -1, "Power", "1A", "Sendaro Control"}});
  // The record as the host sees it: the instance name untouched, "EXT" and two text parameters.
  EXPECT_STREQ(world.record.instanceName, "REMOTE");
  EXPECT_EQ(std::memcmp(world.record.ext, "EXT", 4), 0);
  EXPECT_EQ(world.record.params.count, 2);
  EXPECT_EQ(world.record.params.kind[0], 0);
  EXPECT_EQ(world.record.params.kind[1], 0);
  EXPECT_EQ(world.record.params.kind[2], 0);
  EXPECT_EQ(world.record.params.value[2], 0);
  // Idle waits have no time limit; held waits last at most the poll period.
  for (const auto& wait : world.ports.waits) EXPECT_TRUE(!wait || *wait == 100u);
  EXPECT_FALSE(world.ports.waits.back().has_value());
}

TEST(ButtonEvents, TapOfAnUnknownCodeIsNamedByItsCodeText) {
  World world;
  world.codes.Load({"1B=Other"});
  world.ports.arrivals = {{0, 0x1A}};
  ExpectDeliveries(world.Run(), {{0, 0, "1A", "1A", "<undefined>"}, {200, -1, "1A", "1A", "<undefined>"}});
}

TEST(ButtonEvents, NoReadingsNoEventsAndOneUnboundedWait) {
  World world;
  EXPECT_TRUE(world.Run().empty());
  ASSERT_EQ(world.ports.waits.size(), 1u);
  EXPECT_FALSE(world.ports.waits[0].has_value());
}

TEST(ButtonEvents, RepeatsAndReleaseKeepTheirDistancesAcrossTheTickWrap) {
  World world;
  world.codes.Load({"1A=Power"});
  const std::uint32_t start = 0xFFFFFF00u;  // 256 ms before the wrap
  AddHeld(world.ports.arrivals, 0x1A, start, start + 700, 50);
  world.ports.now = start;
  const auto& got = world.Run();
  const std::uint32_t offsets[] = {0, 300, 400, 500, 600, 700, 800, 900};
  ASSERT_EQ(got.size(), std::size(offsets));
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].time - start, offsets[i]) << i;
  EXPECT_EQ(got.back().state, -1);
}

TEST(ButtonEvents, ACodeWithAnotherNameReleasesTheOldButtonFirst) {
  World world;
  world.codes.Load({"1A=Power", "1B=Mute"});
  AddHeld(world.ports.arrivals, 0x1A, 0, 350, 50);
  AddHeld(world.ports.arrivals, 0x1B, 400, 400, 50);
  AddHeld(world.ports.arrivals, 0x26, 450, 450, 50);  // no entry
  ExpectDeliveries(world.Run(), {{0, 0, "Power", "1A", "Sendaro Control"},
                                 {300, 1, "Power", "1A", "Sendaro Control"},
                                 // the release still names Power, but value[0] is the new code's text
                                 {400, -1, "Power", "1B", "Sendaro Control"},
                                 {400, 0, "Mute", "1B", "Sendaro Control"},
                                 {450, -1, "Mute", "26", "Sendaro Control"},
                                 {450, 0, "26", "26", "<undefined>"},
                                 {650, -1, "26", "26", "<undefined>"}});
}

TEST(ButtonEvents, TwoCodesOfOneNameAreOneButton) {
  World world;
  world.codes.Load({"1A=Power", "2A=Power"});
  // Before the first repeat a change of code is a further press; after it, the repeats go on with
  // the running hold timer and each carries the code text of its reading.
  world.ports.arrivals = {{0, 0x1A}};
  AddHeld(world.ports.arrivals, 0x2A, 50, 400, 50);
  world.ports.arrivals.insert(world.ports.arrivals.end(), {{450, 0x1A}, {500, 0x2A}, {550, 0x1A}});
  ExpectDeliveries(world.Run(), {{0, 0, "Power", "1A", "Sendaro Control"},
                                 {50, 0, "Power", "2A", "Sendaro Control"},
                                 {350, 1, "Power", "2A", "Sendaro Control"},
                                 {450, 2, "Power", "1A", "Sendaro Control"},
                                 {550, 3, "Power", "1A", "Sendaro Control"},
                                 {650, 4, "Power", "1A", "Sendaro Control"},
                                 {750, -1, "Power", "1A", "Sendaro Control"}});
}

TEST(ButtonEvents, ButtonNamesAreCutTo123Characters) {
  World world;
  const std::string longName(150, 'N');
  world.codes.Load({"1A=" + longName, "2A=" + longName});
  // The two codes alternate after the first repeat: the cut name still counts as the same button.
  AddHeld(world.ports.arrivals, 0x1A, 0, 300, 50);
  AddHeld(world.ports.arrivals, 0x2A, 350, 350, 50);
  const auto& got = world.Run();
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0].eventText, longName.substr(0, 123));
  EXPECT_EQ(got[1].state, 1);
  EXPECT_EQ(got[2].state, 2);
  EXPECT_EQ(got[2].codeText, "2A");
  EXPECT_EQ(got[3].state, -1);
  EXPECT_EQ(world.record.eventText[123], '\0');
}

TEST(ButtonEvents, SetupModeDeliversNothingButMovesAsIfItHad) {
  World world;
  world.codes.Load({"1A=Power", "1B=Mute"});
  world.ports.setupMode = true;
  world.ports.setupWindow = true;
  AddHeld(world.ports.arrivals, 0x1A, 0, 400, 50);
  AddHeld(world.ports.arrivals, 0x1B, 450, 450, 50);
  AddHeld(world.ports.arrivals, 0x1B, 1000, 1000, 50);
  world.Run();
  EXPECT_TRUE(world.ports.delivered.empty());
  // One report per change, none per repeat: pressed for 1A, pressed for 1B (the change of name is
  // no release reading), released, pressed and released again.
  const std::vector<std::pair<unsigned, std::uint32_t>> want = {
      {1024, 0x1A}, {1024, 0x1B}, {1025, 0}, {1024, 0x1B}, {1025, 0}};
  ASSERT_EQ(world.ports.posted.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(world.ports.posted[i].message, want[i].first) << i;
    EXPECT_EQ(world.ports.posted[i].wParam, 0u) << i;
    EXPECT_EQ(world.ports.posted[i].lParam, want[i].second) << i;
  }
  EXPECT_EQ(world.ports.posted[2].time, 650u);

  // Without a settings window nothing is posted either.
  World silent;
  silent.ports.setupMode = true;
  silent.ports.arrivals = {{0, 0x1A}};
  silent.Run();
  EXPECT_TRUE(silent.ports.delivered.empty());
  EXPECT_TRUE(silent.ports.posted.empty());
}

TEST(ButtonEvents, RepeatCountsMoveInSetupModeAsIfDelivered) {
  World world;
  world.ports.setupMode = true;
  AddHeld(world.ports.arrivals, 0x1A, 0, 500, 50);
  world.ports.waitsLeft = 11;  // the reading at 500 ms has been handled
  ButtonEvents events(world.record, world.codes, world.groups, world.timings, world.slot, world.ports);
  events.Run(world.stop);
  EXPECT_EQ(events.repeatCount(), 3);  // 300, 400, 500
}

TEST(ButtonEvents, StopWhileHeldDeliversNoRelease) {
  World world;
  AddHeld(world.ports.arrivals, 0x1A, 0, 1000, 50);
  world.ports.waitsLeft = 3;
  const auto& got = world.Run();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front().state, 0);
  for (const auto& d : got) EXPECT_NE(d.state, -1);
}

TEST(ButtonEvents, ThePollPeriodIsTheSmallerWaitAsUnsignedFixedAtStart) {
  const std::pair<std::pair<std::int32_t, std::int32_t>, std::uint32_t> cases[] = {
      {{100, 200}, 100}, {{100, 60}, 60}, {{-1, 200}, 200}, {{0, 200}, 0}};
  for (const auto& [waits, period] : cases) {
    World world;
    world.timings.waitN = waits.first;
    world.timings.waitR = waits.second;
    ButtonEvents events(world.record, world.codes, world.groups, world.timings, world.slot, world.ports);
    world.timings.waitN = 5;
    EXPECT_EQ(events.pollPeriod(), period);
  }
}

TEST(ButtonEvents, TimingsComeFromTheSettings) {
  World world;
  world.timings.wait1 = 100;
  world.timings.waitN = 50;
  world.timings.waitR = 100;
  AddHeld(world.ports.arrivals, 0x1A, 0, 300, 50);
  const auto& got = world.Run();
  // Poll period 50: a repeat falls due at the first time-out after the last reading at 300.
  const std::uint32_t times[] = {0, 100, 150, 200, 250, 300, 350, 400};
  ASSERT_EQ(got.size(), std::size(times));
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].time, times[i]) << i;
}

TEST(ButtonEvents, ASlowHostSeesOnlyTheLatestReading) {
  World world;
  world.codes.Load({"1A=Power", "1B=Mute", "1C=Play"});
  world.ports.hostDelay = 120;
  world.ports.arrivals = {{0, 0x1A}, {50, 0x1B}, {100, 0x1C}};
  const auto& got = world.Run();
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(got[0].eventText, "Power");
  EXPECT_EQ(got[1].state, -1);
  EXPECT_EQ(got[2].eventText, "Play") << "Mute was overwritten before it was taken";
}

// A reader that stores its reading, or a Stop that comes, just between the event thread's test of
// the slot and its reset of the event: the reset clears that signal, so the thread must look again.
class RacingPorts final : public EventPorts {
 public:
  RacingPorts(ReadingSlot& slot, std::atomic<std::int32_t>& stop, bool stopInstead)
      : slot_(slot), stop_(stop), stopInstead_(stopInstead) {}
  int unboundedWaits = 0;
  std::uint32_t Now() override { return 0; }
  bool SetupMode() override { return false; }
  void SendEvent(std::intptr_t) override {}
  bool PostToSetupWindow(unsigned, std::uint32_t, std::uint32_t) override { return false; }
  void ResetReadingEvent() override {
    if (stopInstead_) {
      stop_ = 1;
    } else {
      slot_.StorePressed(0x1A);
    }
  }
  bool WaitReadingEvent(std::optional<std::uint32_t>) override {
    ++unboundedWaits;  // a real wait here would sleep for ever: the signal is gone
    stop_ = 1;
    return true;
  }

 private:
  ReadingSlot& slot_;
  std::atomic<std::int32_t>& stop_;
  bool stopInstead_;
};

TEST(ButtonEvents, AReadingOrStopDuringTheResetIsNotSlept) {
  for (const bool stopInstead : {false, true}) {
    World world;
    RacingPorts ports(world.slot, world.stop, stopInstead);
    ButtonEvents events(world.record, world.codes, world.groups, world.timings, world.slot, ports);
    events.Wait(world.stop);
    EXPECT_EQ(ports.unboundedWaits, 0) << stopInstead;
    EXPECT_EQ(world.slot.HasNew(), !stopInstead);
  }
}

TEST(ButtonEvents, AReadingThatArrivesAsTheHeldWaitTimesOutIsNotLost) {
  World world;
  world.codes.Load({"1A=Power", "1B=Mute"});
  world.ports.lateAtDeadline = true;
  // The wait that ends at 200 finds WaitR passed since the press, but Mute has just been stored:
  // the release reading must not overwrite it.
  world.ports.arrivals = {{0, 0x1A}, {200, 0x1B}};
  ExpectDeliveries(world.Run(), {{0, 0, "Power", "1A", "Sendaro Control"},
                                 {200, -1, "Power", "1B", "Sendaro Control"},
                                 {200, 0, "Mute", "1B", "Sendaro Control"},
                                 {400, -1, "Mute", "1B", "Sendaro Control"}});
}

}  // namespace
}  // namespace sendaro
