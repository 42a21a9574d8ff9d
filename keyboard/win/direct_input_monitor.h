// Watches the system keyboard through DirectInput 8: a shared background device with a buffer of
// eight records, polled by a timer of the plug-in's window; held keys repeat by a second timer.
#pragma once

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>
#include <windows.h>

#include "com_ptr.h"
#include "direct_input_keys.h"

namespace keyboard::win {

class DirectInputMonitor final : private DirectInputPort {
 public:
  static constexpr UINT_PTR kPollTimer = 1;    // DirectInputTimer
  static constexpr UINT_PTR kRepeatTimer = 2;  // DirectInputRepeat

  explicit DirectInputMonitor(HWND window) noexcept : window_(window) {}
  ~DirectInputMonitor() { Stop(); }
  DirectInputMonitor(const DirectInputMonitor&) = delete;
  DirectInputMonitor& operator=(const DirectInputMonitor&) = delete;

  // Ends what a previous start set up, then opens the device; 0 or the failing call's error.
  // What was made before a failing step stays until the next Stop.
  HRESULT Start(HINSTANCE module);
  void Stop() noexcept;
  bool running() const noexcept { return static_cast<bool>(device_); }

  // The poll timer's and the repeat timer's handlers.
  void Poll();
  void Repeat();

 private:
  void PostKeyMessage(std::uint32_t lParam) override;
  void StopRepeatTimer() override;
  void StartRepeatTimer(unsigned intervalMs) override;

  HWND window_;
  ComPtr<IDirectInput8A> input_;
  ComPtr<IDirectInputDevice8A> device_;
  DirectInputKeys keys_;
};

}  // namespace keyboard::win
