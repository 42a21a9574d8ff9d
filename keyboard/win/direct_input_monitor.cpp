#include "direct_input_monitor.h"

#include "key_event_delivery.h"

namespace keyboard::win {

namespace {

// Acquire is retried while the input is reported lost, but not forever: the next poll tries again.
constexpr int kAcquireAttempts = 16;

}  // namespace

HRESULT DirectInputMonitor::Start(HINSTANCE module) {
  Stop();
  HRESULT result = DirectInput8Create(module, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                      reinterpret_cast<void**>(input_.put()), nullptr);
  if (FAILED(result)) return result;
  result = input_->CreateDevice(GUID_SysKeyboard, device_.put(), nullptr);
  if (FAILED(result)) return result;
  result = device_->SetDataFormat(&c_dfDIKeyboard);
  if (FAILED(result)) return result;
  result = device_->SetCooperativeLevel(window_, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  if (FAILED(result)) return result;
  DIPROPDWORD bufferSize{};
  bufferSize.diph.dwSize = sizeof bufferSize;
  bufferSize.diph.dwHeaderSize = sizeof bufferSize.diph;
  bufferSize.diph.dwObj = 0;
  bufferSize.diph.dwHow = DIPH_DEVICE;
  bufferSize.dwData = kDeviceBufferSize;
  result = device_->SetProperty(DIPROP_BUFFERSIZE, &bufferSize.diph);
  if (FAILED(result)) return result;
  device_->Acquire();
  SetTimer(window_, kPollTimer, kPollIntervalMs, nullptr);
  return DI_OK;
}

void DirectInputMonitor::Stop() noexcept {
  KillTimer(window_, kPollTimer);
  KillTimer(window_, kRepeatTimer);
  if (device_) device_->Unacquire();
  device_.reset();
  input_.reset();
}

void DirectInputMonitor::Poll() {
  if (!device_) return;
  DIDEVICEOBJECTDATA buffer[kDeviceBufferSize];
  DWORD count = kDeviceBufferSize;
  const HRESULT result = device_->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), buffer, &count, 0);
  if (result != DI_OK) {
    // Lost input, or a buffer that overflowed: the device is taken again and this poll's records
    // are dropped.
    for (int attempt = 0; attempt < kAcquireAttempts && device_->Acquire() == DIERR_INPUTLOST; ++attempt) {
    }
    return;
  }
  DeviceRecord records[kDeviceBufferSize];
  const DWORD n = count < kDeviceBufferSize ? count : kDeviceBufferSize;
  for (DWORD i = 0; i < n; ++i) records[i] = {buffer[i].dwOfs, buffer[i].dwData};
  keys_.Deliver(std::span<const DeviceRecord>(records, n), *this);
}

void DirectInputMonitor::Repeat() { keys_.Repeat(*this); }

void DirectInputMonitor::PostKeyMessage(std::uint32_t lParam) {
  PostMessageA(window_, kKeyMessage, 0, static_cast<LPARAM>(lParam));
}

void DirectInputMonitor::StopRepeatTimer() { KillTimer(window_, kRepeatTimer); }

void DirectInputMonitor::StartRepeatTimer(unsigned intervalMs) { SetTimer(window_, kRepeatTimer, intervalMs, nullptr); }

}  // namespace keyboard::win
