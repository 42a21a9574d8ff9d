// The one reading that the reader thread hands to the event thread. Code, pressed flag and new flag
// change together under one lock, so a reading is never taken half old and half new.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

namespace sendaro {

struct Reading {
  std::uint64_t code = ~std::uint64_t{0};  // no reading can have this code
  bool pressed = false;
  friend bool operator==(const Reading&, const Reading&) = default;
};

class ReadingSlot {
 public:
  // The reader's store: a pressed reading of a 32-bit code; overwrites one not yet taken.
  void StorePressed(std::uint32_t code);
  // The event thread's store when a held button's codes have stopped: pressed cleared, code kept.
  // Refused (false) while the slot holds a reading not yet taken, so a reading that arrived after
  // the wait ended is never overwritten by the release.
  bool StoreReleaseUnlessNew();
  // The reading not yet taken, which is thereby taken.
  std::optional<Reading> Take();
  bool HasNew() const;

 private:
  mutable std::mutex mutex_;
  Reading reading_{0, false};
  bool new_ = false;
};

}  // namespace sendaro
