// Korvid.dll's title watch under Wine: its timer ticks on the test's thread while the test pumps
// the host's messages; the TV application's window is a stand-in whose title the test sets.
#include <algorithm>
#include <memory>

#include "korvid_fixture.h"

namespace korvid_tests {
namespace {

// How long a test waits for a tick it expects: well beyond the 1000 ms interval, so that a busy
// machine does not fail the test; a tick that comes returns at once.
constexpr DWORD kNextTickMs = 3000;

struct TitleEvent {
  std::string title;
  LPARAM number;
  bool operator==(const TitleEvent&) const = default;
};

class TitleWatchTest : public KorvidTest {
 protected:
  std::vector<TitleEvent> titleEvents() const {
    std::vector<TitleEvent> seen;
    for (const harness::HostMessage& event : host.events()) {
      EXPECT_EQ(event.eventText, "TITLE");
      EXPECT_EQ(event.ext, "EXT");
      EXPECT_TRUE(event.sent);
      EXPECT_FALSE(event.fromOtherThread) << "events come from the host's own thread";
      EXPECT_EQ(event.params.size(), 1u);
      const auto* title = event.params.empty() ? nullptr : std::get_if<std::string>(&event.params[0]);
      seen.push_back({title ? *title : "<no text>", event.lParam});
    }
    return seen;
  }
  // Pumps the host until `n` title events have arrived, or `ms` passed.
  bool pumpUntilEvents(std::size_t n, DWORD ms) {
    return host.pumpUntil([&] { return host.events().size() >= n; }, ms);
  }
};

TEST_F(TitleWatchTest, GetTitleEventSendsBeforeTheCompletion) {
  standins::TvScreenStandIn screen;
  standins::ApplicationWindowStandIn application("The Korvid - News (12)");
  for (int round = 0; round < 2; ++round) {  // the second time the number is unchanged: forced
    EXPECT_EQ(act("get_title_event"), std::vector<LPARAM>{1});
    const auto messages = host.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].isEvent());
    EXPECT_TRUE(messages[1].isDone());
    EXPECT_EQ(titleEvents(), (std::vector<TitleEvent>{{"News", 12}}));
    EXPECT_EQ(messages[0].instanceName, "KORVID");
  }
  application.setTitle("The Korvid -   (4)");
  EXPECT_EQ(act("GET_TITLE_EVENT"), std::vector<LPARAM>{0}) << "an empty name sends nothing";
  EXPECT_TRUE(host.events().empty());
  application.setTitle("Korvid - News (4)");
  EXPECT_EQ(act("GET_TITLE_EVENT"), std::vector<LPARAM>{0}) << "no prefix, no application";
  Sleep(20);
  EXPECT_TRUE(screen.received().empty()) << "the title check posts nothing to the screen";
}

TEST_F(TitleWatchTest, PassesOverAnotherProgramsApplicationWindowFirstInZOrder) {
  standins::TvScreenStandIn screen;
  standins::ApplicationWindowStandIn korvid("The Korvid - Sport (7)");
  standins::ApplicationWindowStandIn other("Notes - The Korvid - (99)");
  ASSERT_EQ(FindWindowA("TApplication", nullptr), other.hwnd()) << "the other program's window comes first";
  EXPECT_EQ(act("GET_TITLE_EVENT"), std::vector<LPARAM>{1});
  EXPECT_EQ(titleEvents(), (std::vector<TitleEvent>{{"Sport", 7}}));
}

TEST_F(TitleWatchTest, TicksAfterASecondAndReportsOnlyChangedNumbers) {
  standins::ApplicationWindowStandIn application("The Korvid - News (12)");
  host.clear();
  const ULONGLONG started = GetTickCount64();
  watch(startManual, "title");
  watch(startManual, "TITLE");  // a second start keeps the one watch
  ASSERT_TRUE(pumpUntilEvents(1, kNextTickMs));
  const ULONGLONG firstTick = GetTickCount64() - started;
  EXPECT_GE(firstTick, 950u) << "none at once: the first check comes one interval later";
  EXPECT_LE(firstTick, 2000u) << "about one interval (a busy machine may delay a tick somewhat)";
  EXPECT_EQ(titleEvents(), (std::vector<TitleEvent>{{"News", 12}}));

  application.setTitle("The Korvid - Weather (12)");
  host.pumpFor(1300);
  EXPECT_EQ(host.events().size(), 1u) << "the same number with another name: nothing";
  application.setTitle("The Korvid - Weather (13)");
  ASSERT_TRUE(pumpUntilEvents(2, kNextTickMs));
  host.pumpFor(1200);
  EXPECT_EQ(titleEvents(), (std::vector<TitleEvent>{{"News", 12}, {"Weather", 13}}));
  EXPECT_TRUE(host.dones().empty()) << "a watch reports no completion";

  watch(stopManual, "Title");
  application.setTitle("The Korvid - Music (14)");
  host.pumpFor(1300);
  EXPECT_EQ(host.events().size(), 2u) << "stopped";
}

TEST_F(TitleWatchTest, RejectedFormsAndRepeatedEndsDoNothing) {
  standins::ApplicationWindowStandIn application("The Korvid - News (12)");
  watch(stopManual, "TITLE");  // before any start
  close();
  close();
  watch(startManual, "TITLE", 2);
  watch(startManual, "TITLE", 0);
  watch(startManual, "TITLES");
  watch(startManual, "TITLE ");
  watch(startManual, nullptr);
  ActionParams numberFirst = harness::WordBlock("TITLE");
  numberFirst.kind[0] = 1;
  startManual(&numberFirst);
  startManual(nullptr);
  stopManual(nullptr);
  host.pumpFor(1300);
  EXPECT_TRUE(host.messages().empty());

  // A started watch survives a rejected stop, and Close ends it.
  watch(startManual, "TITLE");
  watch(stopManual, "TITLE", 2);
  ASSERT_TRUE(pumpUntilEvents(1, kNextTickMs));
  close();
  application.setTitle("The Korvid - News (13)");
  host.pumpFor(1300);
  EXPECT_EQ(host.events().size(), 1u);
  close();
}

TEST_F(TitleWatchTest, SurvivesTheApplicationGoingAwayAndLongTitles) {
  auto application = std::make_unique<standins::ApplicationWindowStandIn>("The Korvid - News (12)");
  watch(startManual, "TITLE");
  ASSERT_TRUE(pumpUntilEvents(1, kNextTickMs));
  application.reset();  // the application closes while the watch runs
  host.pumpFor(1200);
  application = std::make_unique<standins::ApplicationWindowStandIn>("The Korvid - News (12)");
  host.pumpFor(1200);
  EXPECT_EQ(host.events().size(), 1u) << "restarted on the same channel: the last number is kept";

  // 300 characters: only the first 254 are read, so the number at the end is cut away with the rest.
  const std::string longName(300 - 12 - 6, 'L');
  application->setTitle("The Korvid -" + longName + " (123)");
  ASSERT_TRUE(pumpUntilEvents(2, kNextTickMs));
  const auto events = titleEvents();
  EXPECT_EQ(events.back(), (TitleEvent{longName.substr(0, 254 - 12), 0}));
  application->setTitle("The Korvid - Short (5)");
  ASSERT_TRUE(pumpUntilEvents(3, kNextTickMs));
  EXPECT_EQ(titleEvents().back(), (TitleEvent{"Short", 5}));
}

TEST_F(TitleWatchTest, AHostThatPumpsWhileHandlingTheEventIsNotReentered) {
  standins::ApplicationWindowStandIn application("The Korvid - News (1)");
  int nested = 0;
  int depth = 0;
  host.onMessage([&](const harness::HostMessage& message) {
    if (!message.isEvent()) return;
    ++depth;
    nested = std::max(nested, depth);
    application.setTitle("The Korvid - News (2)");
    host.pumpFor(1300);  // a slow host that keeps its message loop running
    --depth;
  });
  watch(startManual, "TITLE");
  ASSERT_TRUE(pumpUntilEvents(1, kNextTickMs));
  host.onMessage({});
  ASSERT_TRUE(pumpUntilEvents(2, kNextTickMs));
  EXPECT_EQ(nested, 1);
  const auto events = titleEvents();
  EXPECT_EQ(events[0], (TitleEvent{"News", 1}));
  EXPECT_EQ(events[1], (TitleEvent{"News", 2}));
}

}  // namespace
}  // namespace korvid_tests
