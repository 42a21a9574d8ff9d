// A test world for the event thread: a clock that moves only when the thread waits (or the host
// is slow), a sensor that hands in readings at given times, and a host that records what it gets.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "button_events.h"

namespace sendaro::testing {

struct Arrival {
  std::uint32_t time;
  std::uint32_t code;
};

struct Delivered {
  std::uint32_t time;
  std::intptr_t state;
  std::string eventText;
  std::string codeText;
  std::string groupName;
};

struct Posted {
  std::uint32_t time;
  unsigned message;
  std::uint32_t wParam;
  std::uint32_t lParam;
};

class ScriptedPorts final : public EventPorts {
 public:
  ScriptedPorts(ReadingSlot& slot, contract::EventRecord& record, std::atomic<std::int32_t>& stopFlag)
      : slot_(slot), record_(record), stopFlag_(stopFlag) {}

  // Readings in time order (times relative to the start, wrapping like the tick count).
  std::deque<Arrival> arrivals;
  std::uint32_t now = 0;
  bool setupMode = false;
  bool setupWindow = false;
  // Milliseconds the host takes to handle each event.
  std::uint32_t hostDelay = 0;
  // A reading due exactly when a bounded wait ends comes in after the wait reported its time-out.
  bool lateAtDeadline = false;
  // A cap on waits, so that a run without readings left still ends.
  std::size_t waitsLeft = 100000;

  std::vector<Delivered> delivered;
  std::vector<Posted> posted;
  std::vector<std::optional<std::uint32_t>> waits;

  std::uint32_t Now() override { return now; }
  bool SetupMode() override { return setupMode; }
  void SendEvent(std::intptr_t state) override {
    const auto text = [](std::intptr_t address) { return std::string(reinterpret_cast<const char*>(address)); };
    delivered.push_back(
        {now, state, std::string(record_.eventText), text(record_.params.value[0]), text(record_.params.value[1])});
    now += hostDelay;
    StoreArrived();
  }
  bool PostToSetupWindow(unsigned message, std::uint32_t wParam, std::uint32_t lParam) override {
    if (!setupWindow) return false;
    posted.push_back({now, message, wParam, lParam});
    return true;
  }
  void ResetReadingEvent() override { signalled_ = false; }
  bool WaitReadingEvent(std::optional<std::uint32_t> timeoutMs) override {
    waits.push_back(timeoutMs);
    if (waitsLeft-- == 0 || (!timeoutMs && arrivals.empty())) {
      stopFlag_ = 1;  // nothing more will ever come: end the run as Stop would
      return true;
    }
    StoreArrived();
    if (signalled_) return true;
    const std::uint32_t deadline = timeoutMs ? now + *timeoutMs : 0;
    if (lateAtDeadline && timeoutMs && !arrivals.empty() && arrivals.front().time == deadline) {
      now = deadline;
      StoreArrived();
      return false;
    }
    if (!arrivals.empty() && (!timeoutMs || arrivals.front().time - now <= *timeoutMs)) {
      now = arrivals.front().time;
      StoreArrived();
      return true;
    }
    now = deadline;
    return false;
  }

 private:
  // The reader's work: every reading due by now goes into the slot, the latest winning.
  void StoreArrived() {
    while (!arrivals.empty() && static_cast<std::int32_t>(arrivals.front().time - now) <= 0) {
      slot_.StorePressed(arrivals.front().code);
      arrivals.pop_front();
      signalled_ = true;
    }
  }

  ReadingSlot& slot_;
  contract::EventRecord& record_;
  std::atomic<std::int32_t>& stopFlag_;
  bool signalled_ = false;
};

// Readings of `code` every `period` ms from `from` to `to` inclusive.
inline void AddHeld(std::deque<Arrival>& arrivals, std::uint32_t code, std::uint32_t from, std::uint32_t to,
                    std::uint32_t period) {
  for (std::uint32_t t = from; t - from <= to - from; t += period) arrivals.push_back({t, code});
}

}  // namespace sendaro::testing
