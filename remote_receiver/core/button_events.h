// The event thread: takes readings from the slot, names them through the code table, and turns
// them into press, repeat and release events with their timing. The system is reached through
// EventPorts, so the whole loop runs under a test clock too.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "code_table.h"
#include "contract/plugin_contract.h"
#include "reading_slot.h"
#include "remote_settings.h"

namespace sendaro {

inline constexpr std::size_t kGroupNameSize = 64;
inline constexpr std::size_t kButtonNameMax = contract::kEventTextSize - 1;  // 123
inline constexpr std::size_t kGroupNameMax = kGroupNameSize - 1;             // 63

class EventPorts {
 public:
  virtual ~EventPorts() = default;
  // The millisecond tick count; it wraps after 2^32.
  virtual std::uint32_t Now() = 0;
  virtual bool SetupMode() = 0;
  // WM_PLUGIN_EVENT to the host with the record; returns when the host has handled it.
  virtual void SendEvent(std::intptr_t state) = 0;
  // Posts to the settings window; false (nothing posted) when none exists.
  virtual bool PostToSetupWindow(unsigned message, std::uint32_t wParam, std::uint32_t lParam) = 0;
  virtual void ResetReadingEvent() = 0;
  // Waits until the reading event is signalled (true) or `timeoutMs` passed (false); no time-out
  // means no time limit.
  virtual bool WaitReadingEvent(std::optional<std::uint32_t> timeoutMs) = 0;
};

class ButtonEvents {
 public:
  // Writes ext, count, kinds and the two text addresses into the record (the rest stays as Open
  // left it) and takes the poll period from the settings of this moment.
  ButtonEvents(contract::EventRecord& record, const CodeTable& codes, const GroupList& groups, const Timings& timings,
               ReadingSlot& slot, EventPorts& ports);
  // The record points into this object.
  ButtonEvents(const ButtonEvents&) = delete;
  ButtonEvents& operator=(const ButtonEvents&) = delete;

  // Turns and waits until `stopFlag` is nonzero (tested before every turn and before every wait).
  void Run(const std::atomic<std::int32_t>& stopFlag);

  // One turn: take, compare, change or repeat check.
  void Turn();
  // The wait that ends a turn. Returns at once when a reading is waiting or the stop flag is set;
  // after a bounded wait that timed out with WaitR passed since the last reading, stores the
  // release reading that the next turn delivers.
  void Wait(const std::atomic<std::int32_t>& stopFlag);

  bool held() const noexcept { return last_.pressed; }
  std::int32_t repeatCount() const noexcept { return repeatCount_; }
  std::uint32_t pollPeriod() const noexcept { return pollPeriod_; }
  const char* codeText() const noexcept { return codeText_; }
  const char* groupName() const noexcept { return groupName_; }

 private:
  void Deliver(std::intptr_t state);
  void RepeatCheck();
  void NameCurrentCode();
  // Waits compare as unsigned milliseconds, so a negative setting is a wait of about 49 days.
  bool Elapsed(std::uint32_t since, std::int32_t wait) noexcept;

  contract::EventRecord& record_;
  const CodeTable& codes_;
  const GroupList& groups_;
  const Timings& timings_;
  ReadingSlot& slot_;
  EventPorts& ports_;

  Reading current_;
  Reading last_;
  std::uint32_t lastReadingTime_ = 0;
  std::uint32_t lastSendTime_ = 0;
  std::int32_t currentWait_ = 0;
  std::int32_t repeatCount_ = 0;
  std::uint32_t pollPeriod_;
  char codeText_[kCodeTextSize] = {};
  char groupName_[kGroupNameSize] = {};
};

}  // namespace sendaro
