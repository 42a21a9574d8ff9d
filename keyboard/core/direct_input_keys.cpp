#include "direct_input_keys.h"

namespace keyboard {

std::uint32_t DirectInputKeys::KeyMessageOf(const DeviceRecord& record) noexcept {
  // Only a keyboard offset (0-255) is a table code; nothing larger may reach the release bit.
  const std::uint32_t released = (record.data & 0x80) ? 0u : 0x80000000u;
  return (record.offset & 0xFF) << 16 | released;
}

void DirectInputKeys::Deliver(std::span<const DeviceRecord> records, DirectInputPort& port) {
  for (const DeviceRecord& record : records) {
    const std::uint32_t message = KeyMessageOf(record);
    port.PostKeyMessage(message);
    if (record.data & 0x80) {
      repeatMessage_ = message;
      port.StartRepeatTimer(kRepeatDelayMs);
    } else {
      port.StopRepeatTimer();
    }
  }
}

void DirectInputKeys::Repeat(DirectInputPort& port) {
  port.StartRepeatTimer(kRepeatIntervalMs);
  port.PostKeyMessage(repeatMessage_);
}

}  // namespace keyboard
