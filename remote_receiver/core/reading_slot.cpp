#include "reading_slot.h"

namespace sendaro {

void ReadingSlot::StorePressed(std::uint32_t code) {
  std::lock_guard lock(mutex_);
  reading_ = Reading{code, true};
  new_ = true;
}

bool ReadingSlot::StoreReleaseUnlessNew() {
  std::lock_guard lock(mutex_);
  if (new_) return false;
  reading_.pressed = false;
  new_ = true;
  return true;
}

std::optional<Reading> ReadingSlot::Take() {
  std::lock_guard lock(mutex_);
  if (!new_) return std::nullopt;
  new_ = false;
  return reading_;
}

bool ReadingSlot::HasNew() const {
  std::lock_guard lock(mutex_);
  return new_;
}

}  // namespace sendaro
