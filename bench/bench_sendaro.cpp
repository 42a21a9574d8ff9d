// Sendaro's button timing as the host sees it, against the settings: press to first repeat
// against Wait1, repeat spacing against WaitN, last reading to release against WaitR; and the
// processor time of the plug-in's threads with no button and with one held.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "sendaro_scenario.h"

namespace {

using sendaro_test::EventClock;
using sendaro_test::Scenario;
using sendaro_test::StandIn;

struct Config {
  const char* name;
  const char* ini;
  double interval, wait1, waitN, waitR;
};

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t index = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

void PrintRow(const char* what, const std::vector<double>& errors) {
  std::printf("  %-34s n=%3zu  median %+6.1f ms  p99 %+6.1f ms\n", what, errors.size(), Percentile(errors, 50),
              Percentile(errors, 99));
}

std::set<DWORD> ThreadIds() {
  std::set<DWORD> ids;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(entry.th32ThreadID);
  }
  CloseHandle(snapshot);
  return ids;
}

double ProcessorMs(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
  const auto ticks = [](FILETIME t) {
    return static_cast<double>(ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart);
  };
  return (ticks(kernel) + ticks(user)) / 10000.0;
}

void MeasureTiming(const Config& config) {
  harness::RecordingHost host;
  EventClock clock(host);
  Scenario scenario(std::string("bench_") + config.name, "remtctrl_standin", config.ini);
  StandIn standIn = scenario.OpenRunning(host.hwnd());
  std::vector<double> firstRepeat, spacing, release;
  constexpr int kHolds = 8;
  for (int hold = 0; hold < kHolds; ++hold) {
    clock.clear();
    standIn.setCode(0x1A);
    host.pumpFor(900);
    standIn.setCode(255);
    host.pumpUntil([&] { return !clock.events().empty() && clock.events().back().state() == -1; }, 3000);
    const double lastRead = sendaro_test::CounterToMs(standIn.lastButtonRead());
    const auto events = clock.events();
    for (std::size_t i = 1; i + 1 < events.size(); ++i) {
      const double gap = events[i].ms - events[i - 1].ms;
      (i == 1 ? firstRepeat : spacing).push_back(gap - (i == 1 ? config.wait1 : config.waitN));
    }
    if (!events.empty() && events.back().state() == -1) release.push_back(events.back().ms - lastRead - config.waitR);
    host.pumpFor(50);
  }
  std::printf("%s (Interval %.0f, Wait1 %.0f, WaitN %.0f, WaitR %.0f), error against the setting:\n", config.name,
              config.interval, config.wait1, config.waitN, config.waitR);
  PrintRow("press to first repeat - Wait1", firstRepeat);
  PrintRow("repeat to repeat - WaitN", spacing);
  PrintRow("last reading to release - WaitR", release);
  scenario.Stop();
}

void MeasureProcessorTime() {
  harness::RecordingHost host;
  EventClock clock(host);
  Scenario scenario("bench_idle", "remtctrl_standin", "[Codes]\r\n1A=Power\r\n");
  StandIn standIn = scenario.Preload();
  scenario.Open(nullptr, host.hwnd());
  const std::set<DWORD> before = ThreadIds();
  scenario.Start();
  // The plug-in's two threads; the event thread is the one created last.
  std::vector<std::pair<ULONGLONG, HANDLE>> threads;
  for (DWORD id : ThreadIds()) {
    if (before.count(id) != 0) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, id);
    FILETIME created, exited, kernel, user;
    if (thread == nullptr || !GetThreadTimes(thread, &created, &exited, &kernel, &user)) continue;
    threads.emplace_back(ULARGE_INTEGER{{created.dwLowDateTime, created.dwHighDateTime}}.QuadPart, thread);
  }
  std::sort(threads.begin(), threads.end());
  if (threads.size() != 2) {
    std::printf("processor time: the plug-in's threads were not found (%zu new threads)\n", threads.size());
    return;
  }
  const HANDLE reader = threads[0].second;
  const HANDLE eventThread = threads[1].second;
  const auto span = [&](const char* what, DWORD ms) {
    const double eventBefore = ProcessorMs(eventThread), readerBefore = ProcessorMs(reader);
    host.pumpFor(ms);
    std::printf("  %-28s event thread %6.1f ms   reader thread %6.1f ms   (over %lu ms)\n", what,
                ProcessorMs(eventThread) - eventBefore, ProcessorMs(reader) - readerBefore, ms);
  };
  std::printf("processor time of the plug-in's threads (Interval 50; target: event thread idle uses none):\n");
  span("no button", 10000);
  standIn.setCode(0x1A);
  span("button held", 3000);
  standIn.setCode(255);
  scenario.Stop();
  for (auto& [created, thread] : threads) CloseHandle(thread);
}

}  // namespace

int main() {
  const Config configs[] = {
      {"defaults", "[Codes]\r\n1A=Power\r\n", 50, 300, 100, 200},
      {"interval_10", "[Main]\r\nInterval=10\r\n[Codes]\r\n1A=Power\r\n", 10, 300, 100, 200},
  };
  for (const Config& config : configs) MeasureTiming(config);
  MeasureProcessorTime();
  return 0;
}
