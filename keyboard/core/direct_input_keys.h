// The DirectInput monitor's logic between the device and the window: buffered records become key
// messages, and a held key repeats after 500 ms and then every 30 ms, since DirectInput itself
// reports no repeats.
#pragma once

#include <cstdint>
#include <span>

namespace keyboard {

inline constexpr unsigned kPollIntervalMs = 100;
inline constexpr unsigned kRepeatDelayMs = 500;
inline constexpr unsigned kRepeatIntervalMs = 30;
inline constexpr unsigned kDeviceBufferSize = 8;

// The two fields of a buffered device record that the monitor reads.
struct DeviceRecord {
  std::uint32_t offset;  // the key's table code
  std::uint32_t data;    // bit 7 set while the key is down
};

class DirectInputPort {
 public:
  virtual ~DirectInputPort() = default;
  // Posts the key message (WPARAM 0) to the plug-in's window.
  virtual void PostKeyMessage(std::uint32_t lParam) = 0;
  virtual void StopRepeatTimer() = 0;
  // (Re)starts the repeat timer with this interval.
  virtual void StartRepeatTimer(unsigned intervalMs) = 0;
};

class DirectInputKeys {
 public:
  // The records of one successful poll, in order.
  void Deliver(std::span<const DeviceRecord> records, DirectInputPort& port);
  // The repeat timer fired.
  void Repeat(DirectInputPort& port);

  static std::uint32_t KeyMessageOf(const DeviceRecord& record) noexcept;

 private:
  std::uint32_t repeatMessage_ = 0;
};

}  // namespace keyboard
