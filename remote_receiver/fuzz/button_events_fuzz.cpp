// Drives the event thread's loop with random readings, times, timings and host delays, and checks
// what the host receives: every press is released exactly once (unless the run was stopped), repeat
// counts rise by one, and repeats keep their distances from the press and from each other.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../tests/scripted_ports.h"
#include "button_events.h"
#include "remote_constants.h"

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint32_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint32_t Word() { return Byte() | Byte() << 8; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sendaro;
  Input input(data, size);
  contract::EventRecord record{};
  CodeTable codes;
  const std::string longName(130, 'L');
  codes.Load({"1A=Power", "2A=Power", "1B=Mute", "3C=" + longName, "4C=" + longName});
  GroupList groups;
  groups.Reset();
  Timings timings;
  timings.wait1 = static_cast<std::int32_t>(input.Word() % 1000 + 1);
  timings.waitN = static_cast<std::int32_t>(input.Word() % 1000 + 1);
  timings.waitR = static_cast<std::int32_t>(input.Word() % 1000 + 1);
  ReadingSlot slot;
  std::atomic<std::int32_t> stop{0};
  testing::ScriptedPorts ports(slot, record, stop);
  ports.hostDelay = input.Byte() % 64;
  ports.waitsLeft = input.Word() + 1;
  // Start anywhere, the tick wrap included.
  ports.now = input.Byte() | input.Byte() << 8 | input.Byte() << 16 | input.Byte() << 24;
  const std::uint32_t kCodes[] = {0x1A, 0x2A, 0x1B, 0x3C, 0x4C, 0x26, 0};
  std::uint32_t time = ports.now;
  while (!input.empty() && ports.arrivals.size() < 2000) {
    time += input.Byte() * 4;
    const std::uint32_t pick = input.Byte();
    const std::uint32_t code = pick < 240 ? kCodes[pick % 7] : input.Word() << 16 | input.Word();
    if (code == static_cast<std::uint32_t>(kNothingRead)) continue;  // the reader never stores it
    ports.arrivals.push_back({time, code});
  }

  ButtonEvents events(record, codes, groups, timings, slot, ports);
  events.Run(stop);

  bool held = false;
  std::intptr_t lastState = -1;
  std::int32_t nextRepeat = 1;
  std::uint32_t lastSend = 0;
  std::string heldText, heldGroup;
  for (const testing::Delivered& d : ports.delivered) {
    if (d.state == 0) {
      // A press while held only re-presses the same button before its first repeat.
      if (held) Require(lastState == 0 && d.eventText == heldText && d.groupName == heldGroup);
      held = true;
      nextRepeat = 1;
      lastSend = d.time;
      heldText = d.eventText;
      heldGroup = d.groupName;
    } else if (d.state > 0) {
      Require(held && d.state == nextRepeat);
      const std::int32_t wait = d.state == 1 ? timings.wait1 : timings.waitN;
      Require(d.time - lastSend >= static_cast<std::uint32_t>(wait));
      Require(d.eventText == heldText && d.groupName == heldGroup);
      ++nextRepeat;
      lastSend = d.time;
    } else {
      Require(d.state == -1 && held && d.eventText == heldText && d.groupName == heldGroup);
      held = false;
    }
    Require(d.eventText.size() <= 123 && !d.codeText.empty() && d.codeText.size() <= 16);
    lastState = d.state;
  }
  // A run that ended because no readings were left ends idle: every press was released.
  if (ports.waitsLeft != static_cast<std::size_t>(-1)) Require(!held);
  return 0;
}
