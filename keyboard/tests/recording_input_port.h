// A stand-in for the system's input: records every injection, posted message and pause as a line
// of text, keeps a 256-byte key state that the injected keys change (held keys, lock toggles), and
// switches between an English and another layout when Alt and Shift are pressed together, as the
// default layout hotkey does.
#pragma once

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "input_port.h"

namespace keyboard::testing {

inline constexpr std::uintptr_t kEnglishLayout = 0x04090409;
inline constexpr std::uintptr_t kRussianLayout = 0x04190419;

class RecordingInputPort : public InputPort {
 public:
  RecordingInputPort() {
    for (const auto& key : kUsKeys) {
      if (key.scanCode != 0 && mappedVirtualKey_.count(key.scanCode) == 0) mappedVirtualKey_[key.scanCode] = key;
    }
    for (const auto& row : kUsCharacters) {
      keyScan[static_cast<unsigned char>(row.plain)] = row.virtualKey;
      keyScan[static_cast<unsigned char>(row.shifted)] = static_cast<std::uint16_t>(0x100 | row.virtualKey);
    }
    for (char c = 'a'; c <= 'z'; ++c) {
      keyScan[static_cast<unsigned char>(c)] = static_cast<std::uint16_t>(c - 'a' + 'A');
      keyScan[static_cast<unsigned char>(c - 'a' + 'A')] = static_cast<std::uint16_t>(0x100 | (c - 'a' + 'A'));
    }
    keyScan[' '] = 0x20;
  }

  std::vector<std::string> calls;  // what reached the system, in order
  KeyboardStateBytes state{};
  std::uintptr_t layout = kEnglishLayout;
  std::map<unsigned char, std::uint8_t> oemCodes;  // CharToOem; '?' for the rest
  std::map<std::int32_t, std::string> keyNames;    // GetKeyNameText by LPARAM
  std::map<unsigned char, std::uint16_t> keyScan;  // VkKeyScanEx on the US layout

  void hold(int virtualKey) { state[static_cast<std::size_t>(virtualKey)] |= 0x80; }
  void toggleOn(int virtualKey) { state[static_cast<std::size_t>(virtualKey)] |= 0x01; }
  bool anyKeyHeld() const {
    for (const std::uint8_t byte : state) {
      if ((byte & 0x80) != 0) return true;
    }
    return false;
  }
  void forget() { calls.clear(); }

  unsigned MapKey(unsigned code, unsigned mapType) override {
    if (mapType == 0) {
      for (const auto& key : kUsKeys) {
        if (key.virtualKey == code) return key.scanCode;
      }
      return 0;
    }
    const auto found = mappedVirtualKey_.find(code);
    if (found == mappedVirtualKey_.end()) return 0;
    if (mapType == 3 && found->second.sidedVirtualKey != 0) return found->second.sidedVirtualKey;
    return mapType == 1 || mapType == 3 ? found->second.virtualKey : 0;
  }
  std::size_t KeyNameText(std::int32_t lParam, std::span<char> out) override {
    const auto found = keyNames.find(lParam);
    const std::string name = found == keyNames.end() ? std::string() : found->second;
    const std::size_t n = name.size() < out.size() - 1 ? name.size() : out.size() - 1;
    std::memcpy(out.data(), name.data(), n);
    out[n] = '\0';
    return n;
  }

  void LegacyKeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, unsigned flags) override {
    calls.push_back(Line("kbd", virtualKey, scanCode, flags));
    Apply(virtualKey, scanCode, flags);
  }
  void SendKeyboardInput(std::uint16_t virtualKey, std::uint16_t scanCode, unsigned flags) override {
    calls.push_back(Line("input", virtualKey, scanCode, flags));
    Apply(virtualKey, scanCode, flags);
  }
  KeyboardStateBytes KeyboardState() override { return state; }
  std::int16_t KeyState(int virtualKey) override {
    const std::uint8_t byte = state[static_cast<std::size_t>(virtualKey & 0xFF)];
    return static_cast<std::int16_t>(((byte & 0x80) != 0 ? 0x8000 : 0) | (byte & 1));
  }
  std::uint16_t KeyScan(char character, std::uint32_t usedLayout) override {
    if (usedLayout != kEnglishLayout) return 0xFFFF;
    const auto found = keyScan.find(static_cast<unsigned char>(character));
    return found == keyScan.end() ? 0xFFFF : found->second;
  }
  std::uint8_t OemCode(char character) override {
    const auto found = oemCodes.find(static_cast<unsigned char>(character));
    return found == oemCodes.end() ? '?' : found->second;
  }
  std::uintptr_t ForegroundKeyboardLayout() override { return layout; }
  void PostWindowMessage(std::intptr_t window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    char line[96];
    std::snprintf(line, sizeof line, "post %llX %04X %02llX %08llX", static_cast<unsigned long long>(window), message,
                  static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam));
    calls.emplace_back(line);
  }
  void Sleep(unsigned milliseconds) override { calls.push_back("sleep " + std::to_string(milliseconds)); }

  // "kbd 11 1D 0": the call, virtual key, scan code and flags in hexadecimal.
  static std::string Line(const char* call, unsigned virtualKey, unsigned scanCode, unsigned flags) {
    char line[64];
    std::snprintf(line, sizeof line, "%s %02X %02X %X", call, virtualKey, scanCode, flags);
    return line;
  }

 private:
  struct UsKey {
    std::uint8_t virtualKey;
    std::uint8_t scanCode;
    std::uint8_t sidedVirtualKey;  // what the left/right-telling mapping gives, 0: the same
  };
  // The US keyboard as MapVirtualKey sees it; the first row with a scan code wins scan -> key.
  static constexpr UsKey kUsKeys[] = {
      {0x10, 0x2A, 0xA0}, {0x11, 0x1D, 0xA2}, {0x12, 0x38, 0xA4}, {0xA1, 0x36, 0}, {0xA0, 0x2A, 0}, {0xA2, 0x1D, 0},
      {0xA4, 0x38, 0},    {0x14, 0x3A, 0},    {0x90, 0x45, 0},    {0x91, 0x46, 0}, {0x2E, 0x53, 0}, {0x24, 0x47, 0},
      {0x6B, 0x4E, 0},    {0x1B, 0x01, 0},    {0x08, 0x0E, 0},    {0x09, 0x0F, 0}, {0x0D, 0x1C, 0}, {0x20, 0x39, 0},
      {0x70, 0x3B, 0},    {0x71, 0x3C, 0},    {0x72, 0x3D, 0},    {0x73, 0x3E, 0}, {0x31, 0x02, 0}, {0x32, 0x03, 0},
      {0x33, 0x04, 0},    {0x34, 0x05, 0},    {0x35, 0x06, 0},    {0x36, 0x07, 0}, {0x37, 0x08, 0}, {0x38, 0x09, 0},
      {0x39, 0x0A, 0},    {0x30, 0x0B, 0},    {0xBD, 0x0C, 0},    {0xBB, 0x0D, 0}, {0x51, 0x10, 0}, {0x57, 0x11, 0},
      {0x45, 0x12, 0},    {0x52, 0x13, 0},    {0x54, 0x14, 0},    {0x59, 0x15, 0}, {0x55, 0x16, 0}, {0x49, 0x17, 0},
      {0x4F, 0x18, 0},    {0x50, 0x19, 0},    {0xDB, 0x1A, 0},    {0xDD, 0x1B, 0}, {0x41, 0x1E, 0}, {0x53, 0x1F, 0},
      {0x44, 0x20, 0},    {0x46, 0x21, 0},    {0x47, 0x22, 0},    {0x48, 0x23, 0}, {0x4A, 0x24, 0}, {0x4B, 0x25, 0},
      {0x4C, 0x26, 0},    {0xBA, 0x27, 0},    {0xDE, 0x28, 0},    {0xC0, 0x29, 0}, {0xDC, 0x2B, 0}, {0x5A, 0x2C, 0},
      {0x58, 0x2D, 0},    {0x43, 0x2E, 0},    {0x56, 0x2F, 0},    {0x42, 0x30, 0}, {0x4E, 0x31, 0}, {0x4D, 0x32, 0},
      {0xBC, 0x33, 0},    {0xBE, 0x34, 0},    {0xBF, 0x35, 0},
  };
  struct UsCharacter {
    char plain;
    char shifted;
    std::uint8_t virtualKey;
  };
  static constexpr UsCharacter kUsCharacters[] = {
      {'`', '~', 0xC0}, {'1', '!', 0x31}, {'2', '@', 0x32}, {'3', '#', 0x33},  {'4', '$', 0x34}, {'5', '%', 0x35},
      {'6', '^', 0x36}, {'7', '&', 0x37}, {'8', '*', 0x38}, {'9', '(', 0x39},  {'0', ')', 0x30}, {'-', '_', 0xBD},
      {'=', '+', 0xBB}, {'[', '{', 0xDB}, {']', '}', 0xDD}, {'\\', '|', 0xDC}, {';', ':', 0xBA}, {'\'', '"', 0xDE},
      {',', '<', 0xBC}, {'.', '>', 0xBE}, {'/', '?', 0xBF},
  };

  void Apply(unsigned virtualKey, unsigned scanCode, unsigned flags) {
    if (virtualKey == 0) virtualKey = MapKey(scanCode, 1);
    if (virtualKey == 0) return;
    std::uint8_t& byte = state[virtualKey & 0xFF];
    if ((flags & kKeyEventRelease) != 0) {
      byte = static_cast<std::uint8_t>(byte & ~0x80);
      return;
    }
    if ((byte & 0x80) == 0 && (virtualKey == 0x14 || virtualKey == 0x90 || virtualKey == 0x91)) byte ^= 1;
    byte |= 0x80;
    const bool altHeld = (state[0x12] & 0x80) != 0;
    const bool shiftHeld = (state[0x10] & 0x80) != 0;
    if ((virtualKey == 0x10 && altHeld) || (virtualKey == 0x12 && shiftHeld)) {
      layout = layout == kEnglishLayout ? kRussianLayout : kEnglishLayout;
    }
  }

  std::map<unsigned, UsKey> mappedVirtualKey_;
};

}  // namespace keyboard::testing
