// The keystroke interpreter's way into the system: Win32 key injection, key state and messages.
#pragma once

#include <windows.h>  // first: its A/W macros must rename the interface and this class alike

#include "input_port.h"

namespace keyboard::win {

class Win32InputPort final : public InputPort {
 public:
  unsigned MapKey(unsigned code, unsigned mapType) override;
  std::size_t KeyNameText(std::int32_t lParam, std::span<char> out) override;
  void LegacyKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, unsigned flags) override;
  void SendKeyboardInput(std::uint16_t virtualKey, std::uint16_t scanCode, unsigned flags) override;
  KeyboardStateBytes KeyboardState() override;
  std::int16_t KeyState(int virtualKey) override;
  std::uint16_t KeyScan(char character, std::uint32_t layout) override;
  std::uint8_t OemCode(char character) override;
  std::uintptr_t ForegroundKeyboardLayout() override;
  void PostWindowMessage(std::intptr_t window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void Sleep(unsigned milliseconds) override;
};

}  // namespace keyboard::win
