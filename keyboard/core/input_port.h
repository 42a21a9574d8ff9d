// Everything the keystroke interpreter asks of the system: key injection, key state, the US
// layout's keys, the OEM code page, the foreground layout, posted messages and the pause.
// Platform-free, so the interpreter's transitions can be recorded by a fake.
#pragma once

#include <array>
#include <cstdint>

#include "key_names.h"

namespace keyboard {

// Win32 key-event flags.
inline constexpr unsigned kKeyEventExtended = 0x1;
inline constexpr unsigned kKeyEventRelease = 0x2;
inline constexpr unsigned kKeyEventScanCode = 0x8;

using KeyboardStateBytes = std::array<std::uint8_t, 256>;

class InputPort : public KeySystem {
 public:
  // keybd_event with extra information 0.
  virtual void LegacyKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, unsigned flags) = 0;
  // SendInput with one keyboard record (time 0, extra information 0).
  virtual void SendKeyboardInput(std::uint16_t virtualKey, std::uint16_t scanCode, unsigned flags) = 0;
  // GetKeyboardState of the calling thread.
  virtual KeyboardStateBytes KeyboardState() = 0;
  // GetKeyState of the calling thread.
  virtual std::int16_t KeyState(int virtualKey) = 0;
  // VkKeyScanEx: virtual key in the low byte, shift state in the high byte; all ones for none.
  virtual std::uint16_t KeyScan(char character, std::uint32_t layout) = 0;
  // CharToOem of a one-character text: the OEM byte.
  virtual std::uint8_t OemCode(char character) = 0;
  // The keyboard layout of the thread that owns the foreground window, or of the calling thread
  // when there is no foreground window.
  virtual std::uintptr_t ForegroundKeyboardLayout() = 0;
  // PostMessage; its result is not wanted.
  virtual void PostWindowMessage(std::intptr_t window, unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam) = 0;
  virtual void Sleep(unsigned milliseconds) = 0;
};

}  // namespace keyboard
