#include "button_events.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "remote_constants.h"

namespace sendaro {
namespace {

constexpr std::intptr_t kPressed = 0;

std::string_view Bounded(std::string_view text, std::size_t limit) noexcept {
  return text.substr(0, std::min(text.size(), limit));
}

template <std::size_t N>
void CopyText(char (&dest)[N], std::string_view text, std::size_t limit) noexcept {
  const std::string_view kept = Bounded(text, std::min(limit, N - 1));
  std::memcpy(dest, kept.data(), kept.size());
  dest[kept.size()] = '\0';
}

std::uint32_t PollPeriod(const Timings& timings) noexcept {
  return std::min(static_cast<std::uint32_t>(timings.waitN.load()), static_cast<std::uint32_t>(timings.waitR.load()));
}

}  // namespace

ButtonEvents::ButtonEvents(contract::EventRecord& record, const CodeTable& codes, const GroupList& groups,
                           const Timings& timings, ReadingSlot& slot, EventPorts& ports)
    : record_(record),
      codes_(codes),
      groups_(groups),
      timings_(timings),
      slot_(slot),
      ports_(ports),
      pollPeriod_(PollPeriod(timings)) {
  std::memcpy(record_.ext, "EXT", 4);
  record_.params.count = 2;
  record_.params.kind[0] = contract::kKindText;
  record_.params.kind[1] = contract::kKindText;
  record_.params.value[0] = reinterpret_cast<contract::ParamSlot>(codeText_);
  record_.params.value[1] = reinterpret_cast<contract::ParamSlot>(groupName_);
}

bool ButtonEvents::Elapsed(std::uint32_t since, std::int32_t wait) noexcept {
  return ports_.Now() - since >= static_cast<std::uint32_t>(wait);
}

void ButtonEvents::Deliver(std::intptr_t state) {
  // In setup mode the host hears nothing, but counts and times move as if it had.
  if (!ports_.SetupMode()) ports_.SendEvent(state);
}

void ButtonEvents::RepeatCheck() {
  if (!last_.pressed || !Elapsed(lastSendTime_, currentWait_)) return;
  ++repeatCount_;
  currentWait_ = timings_.waitN.load();
  lastSendTime_ = ports_.Now();
  Deliver(repeatCount_);
}

void ButtonEvents::NameCurrentCode() {
  FormatCodeText(current_.code, codeText_);
  if (!last_.pressed) repeatCount_ = 0;
  const std::optional<std::size_t> found = codes_.Find(codeText_);
  if (!found) {
    if (last_.pressed) {
      Deliver(contract::kEventReleased);
      repeatCount_ = 0;
    }
    CopyText(record_.eventText, codeText_, kButtonNameMax);
    CopyText(groupName_, kUndefinedGroup, kGroupNameMax);
    return;
  }
  const CodeEntry& entry = codes_.at(*found);
  // Compared as they would stand in the record, so a long name held by two codes stays one button.
  const std::string_view button = Bounded(entry.button, kButtonNameMax);
  const std::string_view group = Bounded(groups_.NameAt(entry.group), kGroupNameMax);
  if (last_.pressed && (button != std::string_view(record_.eventText) || group != std::string_view(groupName_))) {
    Deliver(contract::kEventReleased);
    repeatCount_ = 0;
  }
  CopyText(record_.eventText, button, kButtonNameMax);
  CopyText(groupName_, group, kGroupNameMax);
}

void ButtonEvents::Turn() {
  if (const std::optional<Reading> taken = slot_.Take()) {
    current_ = *taken;
    lastReadingTime_ = ports_.Now();
  }
  if (current_ == last_) {
    RepeatCheck();
    return;
  }
  if (last_.pressed && !current_.pressed) Deliver(contract::kEventReleased);
  if (current_.pressed) {
    NameCurrentCode();
    if (repeatCount_ == 0) {
      lastSendTime_ = ports_.Now();
      currentWait_ = timings_.wait1.load();
      Deliver(kPressed);
    } else {
      RepeatCheck();
    }
  }
  if (ports_.SetupMode()) {
    if (current_.pressed) {
      ports_.PostToSetupWindow(WM_REMOTE_PRESSED, static_cast<std::uint32_t>(current_.code >> 32),
                               static_cast<std::uint32_t>(current_.code));
    } else {
      ports_.PostToSetupWindow(WM_REMOTE_RELEASED, 0, 0);
    }
  }
  last_ = current_;
}

void ButtonEvents::Wait(const std::atomic<std::int32_t>& stopFlag) {
  if (slot_.HasNew()) return;
  ports_.ResetReadingEvent();
  // A reading stored, or a stop asked for, between the test above and the reset has had its
  // signal cleared: look again before sleeping.
  if (slot_.HasNew() || stopFlag.load() != 0) return;
  const bool bounded = last_.pressed;
  const bool signalled = ports_.WaitReadingEvent(bounded ? std::optional<std::uint32_t>(pollPeriod_) : std::nullopt);
  if (!signalled && bounded && Elapsed(lastReadingTime_, timings_.waitR.load())) slot_.StoreReleaseUnlessNew();
}

void ButtonEvents::Run(const std::atomic<std::int32_t>& stopFlag) {
  while (stopFlag.load() == 0) {
    Turn();
    Wait(stopFlag);
  }
}

}  // namespace sendaro
