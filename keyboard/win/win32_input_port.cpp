#include "win32_input_port.h"

#include <windows.h>

namespace keyboard::win {

static_assert(kKeyEventExtended == KEYEVENTF_EXTENDEDKEY);
static_assert(kKeyEventRelease == KEYEVENTF_KEYUP);
static_assert(kKeyEventScanCode == KEYEVENTF_SCANCODE);

unsigned Win32InputPort::MapKey(unsigned code, unsigned mapType) { return ::MapVirtualKeyA(code, mapType); }

std::size_t Win32InputPort::KeyNameText(std::int32_t lParam, std::span<char> out) {
  if (out.empty()) return 0;
  out[0] = '\0';
  const int length = ::GetKeyNameTextA(static_cast<LONG>(lParam), out.data(), static_cast<int>(out.size()));
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

void Win32InputPort::LegacyKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, unsigned flags) {
  keybd_event(virtualKey, scanCode, flags, 0);
}

void Win32InputPort::SendKeyboardInput(std::uint16_t virtualKey, std::uint16_t scanCode, unsigned flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = scanCode;
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

KeyboardStateBytes Win32InputPort::KeyboardState() {
  KeyboardStateBytes state{};
  if (!GetKeyboardState(state.data())) state.fill(0);
  return state;
}

std::int16_t Win32InputPort::KeyState(int virtualKey) { return GetKeyState(virtualKey); }

std::uint16_t Win32InputPort::KeyScan(char character, std::uint32_t layout) {
  return static_cast<std::uint16_t>(
      VkKeyScanExA(character, reinterpret_cast<HKL>(static_cast<std::uintptr_t>(layout))));
}

std::uint8_t Win32InputPort::OemCode(char character) {
  const char text[2] = {character, '\0'};
  char oem[2] = {};
  ::CharToOemA(text, oem);
  return static_cast<std::uint8_t>(oem[0]);
}

std::uintptr_t Win32InputPort::ForegroundKeyboardLayout() {
  const HWND foreground = GetForegroundWindow();
  const DWORD thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  return reinterpret_cast<std::uintptr_t>(GetKeyboardLayout(thread));
}

void Win32InputPort::PostWindowMessage(std::intptr_t window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
  ::PostMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

void Win32InputPort::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

}  // namespace keyboard::win
