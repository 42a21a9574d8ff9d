// The emulation commands that work on whole texts and on the keyboard's state: "TYPE", "ON",
// "OFF" and "LAYOUT".
#include <algorithm>
#include <charconv>
#include <span>

#include "contract/action_params.h"
#include "keystroke_emulation.h"

namespace keyboard {

using contract::ActionParams;
using contract::ParamsView;

namespace {

constexpr std::uint32_t kUsEnglishLayout = 0x04090409;
constexpr std::uintptr_t kEnglishLanguage = 9;
constexpr unsigned kLayoutSwitchPauseMs = 100;
constexpr std::size_t kTypedKeyNameCapacity = 1024;  // characters with the NUL
constexpr std::uint16_t kNoKeyForCharacter = 0xFFFF;

struct LockKey {
  std::string_view word;
  int virtualKey;
};
constexpr LockKey kLockKeys[] = {{"NUM LOCK", 144}, {"CAPS LOCK", 20}, {"SCROLL LOCK", 145}};

bool NamesEnglish(std::string_view layout) noexcept {
  static constexpr std::string_view kEnglish = "ENGLISH";
  for (std::size_t at = 0; at + kEnglish.size() <= layout.size(); ++at) {
    if (contract::SameWord(layout.substr(at, kEnglish.size()), kEnglish)) return true;
  }
  return false;
}

// A key name built piece by piece, cut where the buffer ends.
class TypedKeyName {
 public:
  void append(std::string_view piece) noexcept {
    const std::size_t n = std::min(piece.size(), room());
    piece.copy(text_ + length_, n);
    length_ += n;
  }
  // What is left, NUL included, for the system to write into; then grow by what it wrote.
  std::span<char> rest() noexcept { return {text_ + length_, kTypedKeyNameCapacity - length_}; }
  void grow(std::size_t written) noexcept { length_ += std::min(written, room()); }
  std::string_view text() const noexcept { return {text_, length_}; }

 private:
  std::size_t room() const noexcept { return kTypedKeyNameCapacity - 1 - length_; }

  char text_[kTypedKeyNameCapacity] = {};
  std::size_t length_ = 0;
};

}  // namespace

bool KeystrokeEmulator::IsEnglishLayout() { return (port_.ForegroundKeyboardLayout() & 0xFF) == kEnglishLanguage; }

int KeystrokeEmulator::Type(const ActionParams& params) {
  const char* text = ParamsView(&params).text(1);
  int result = 1;
  const bool wasEnglish = IsEnglishLayout();
  if (!wasEnglish) ExecuteSubCommand("LAYOUT", "ENGLISH");
  // Caps Lock would turn every letter's case; it stays off afterwards.
  ExecuteSubCommand("OFF", "CAPS LOCK");
  for (const char* character = text; *character != '\0'; ++character) {
    const std::uint16_t keyAndShift = port_.KeyScan(*character, kUsEnglishLayout);
    if (keyAndShift == kNoKeyForCharacter) {
      TypeByCharacterCode(*character);
    } else if (!TypeByKey(keyAndShift)) {
      result = 0;
      break;
    }
  }
  if (!wasEnglish) ExecuteSubCommand("LAYOUT", "INTERNATIONAL");
  return result;
}

bool KeystrokeEmulator::TypeByKey(std::uint16_t keyAndShift) {
  TypedKeyName name;
  const unsigned shiftState = keyAndShift >> 8;
  if ((shiftState & 1) != 0) name.append("Shift+");
  if ((shiftState & 2) != 0) name.append("Ctrl+");
  if ((shiftState & 4) != 0) name.append("Alt+");
  const auto keyCode = static_cast<int>(port_.MapKey(keyAndShift & 0xFFu, 0));
  if (const NameEntry* entry = NameOfKeyCode(keyCode)) {
    name.append(entry->name);
  } else {
    name.grow(port_.KeyNameText(static_cast<std::int32_t>((keyCode & 0xFF) << 16), name.rest()));
  }
  return ExecuteSubCommand("PRESS", name.text()) != 0;
}

// A character without a key on the US layout: Alt held while its OEM code is keyed in on the
// numeric keypad.
void KeystrokeEmulator::TypeByCharacterCode(char character) {
  ReleaseHeldKeys();
  ExecuteSubCommand("KEYDOWN", "ALT");
  char digits[4];
  const auto written = std::to_chars(digits, digits + sizeof digits, unsigned{port_.OemCode(character)});
  for (const char* digit = digits; digit != written.ptr; ++digit) {
    char keypadName[] = "NUM 0";
    keypadName[sizeof keypadName - 2] = *digit;
    const int keyCode = LookUpKeyName(keypadName);
    if (keyCode == 0) continue;
    SendKey(*digit, keyCode, 0);
    SendKey(*digit, keyCode, kKeyEventRelease);
  }
  ExecuteSubCommand("KEYUP", "ALT");
}

int KeystrokeEmulator::SetLock(const ActionParams& params, bool on) {
  ReleaseHeldKeys();
  const LockKey* lock = contract::FindWord(kLockKeys, ParamsView(&params).text(1));
  if (lock == nullptr) return 0;
  const bool isOn = (port_.KeyState(lock->virtualKey) & 1) != 0;
  if (isOn == on) return 1;
  const auto scanCode = static_cast<int>(port_.MapKey(static_cast<unsigned>(lock->virtualKey), 0));
  SendKey(lock->virtualKey, scanCode, 0);
  SendKey(lock->virtualKey, scanCode, kKeyEventRelease);
  return 1;
}

int KeystrokeEmulator::LockOn(const ActionParams& params) { return SetLock(params, true); }

int KeystrokeEmulator::LockOff(const ActionParams& params) { return SetLock(params, false); }

int KeystrokeEmulator::Layout(const ActionParams& params) {
  ReleaseHeldKeys();
  const bool english = IsEnglishLayout();
  const bool wantEnglish = NamesEnglish(ParamsView(&params).text(1));
  if (english == wantEnglish) return 1;
  const int result = ExecuteSubCommand("PRESS", wantEnglish ? settings_.english : settings_.international);
  // The system switches layouts after the hotkey's transitions are processed; give it time.
  port_.Sleep(kLayoutSwitchPauseMs);
  return result;
}

}  // namespace keyboard
