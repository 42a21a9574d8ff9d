#include "keystroke_emulation.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "contract/action_params.h"

namespace keyboard {

using contract::ActionParams;
using contract::ParamsView;

struct KeystrokeEmulator::Command {
  std::string_view word;
  int (KeystrokeEmulator::*run)(const ActionParams&);
};

// Searched in this order; the first equal word wins.
const KeystrokeEmulator::Command KeystrokeEmulator::kCommands[] = {
    {"PRESS", &KeystrokeEmulator::Press},
    {"KEYDOWN", &KeystrokeEmulator::KeyDown},
    {"KEYUP", &KeystrokeEmulator::KeyUp},
    {"WM_PRESS", &KeystrokeEmulator::PostPress},
    {"WM_KEYDOWN", &KeystrokeEmulator::PostKeyDown},
    {"WM_KEYUP", &KeystrokeEmulator::PostKeyUp},
    {"TYPE", &KeystrokeEmulator::Type},
    {"ON", &KeystrokeEmulator::LockOn},
    {"OFF", &KeystrokeEmulator::LockOff},
    {"LAYOUT", &KeystrokeEmulator::Layout},
};

namespace {

constexpr std::size_t kCombinationTextLimit = kCombinationCapacity - 1;
constexpr int kPauseKeyCode = 69;
constexpr int kPauseVirtualKey = 19;
constexpr int kAltVirtualKey = 18;
constexpr int kShiftVirtualKey = 16;
constexpr int kCtrlVirtualKey = 17;

constexpr unsigned kWmSetFocus = 0x0007;
constexpr unsigned kWmKeyDown = 0x0100;
constexpr unsigned kWmKeyUp = 0x0101;
constexpr unsigned kSystemKeyOffset = 4;  // WM_SYSKEYDOWN/UP follow WM_KEYDOWN/UP by four
constexpr std::uint32_t kAltContext = 1u << 29;
constexpr std::uint32_t kReleaseBits = 0xC0000001u;

// No key name is longer, so a host's single key name is never read further than this.
constexpr std::size_t kLongestKeyName = [] {
  std::size_t longest = 0;
  for (const NameEntry& entry : kFirstNameTable) longest = std::max(longest, entry.name.size());
  return longest;
}();

const char* ArgumentText(const ActionParams& params) noexcept { return ParamsView(&params).text(1); }

std::string_view CombinationArgument(const ActionParams& params) noexcept {
  return contract::BoundedText(ArgumentText(params), kCombinationTextLimit);
}

int SingleKeyCode(const ActionParams& params) noexcept {
  return LookUpKeyName(contract::BoundedText(ArgumentText(params), kLongestKeyName + 1));
}

// The key codes of a combination's first four names; nothing when a name is unknown.
std::optional<std::vector<int>> CombinationKeyCodes(std::string_view text) {
  std::vector<int> keyCodes;
  for (const std::string& name : SplitCombination(text, kMaxCombinationKeys)) {
    const int keyCode = LookUpKeyName(name);
    if (keyCode == 0) return std::nullopt;
    keyCodes.push_back(keyCode);
  }
  return keyCodes;
}

// The message commands need the target window as a number in the third parameter.
std::optional<std::intptr_t> TargetWindow(const ActionParams& params) noexcept {
  const ParamsView view(&params);
  if (view.readable() < 3 || view.isText(2)) return std::nullopt;
  return static_cast<std::intptr_t>(view.number(2));
}

// LPARAM of a key message: repeat count 1, the key code at bit 16, the extended bit at 24.
std::uint32_t KeyMessagePressParam(int keyCode, int virtualKey) noexcept {
  std::uint32_t param = 1u | (static_cast<std::uint32_t>(keyCode) << 16);
  if (ExtendedKeyFlag(virtualKey, keyCode) != 0) param |= 1u << 24;
  return param;
}

std::uint32_t KeyMessageReleaseParam(int keyCode, int virtualKey) noexcept {
  return KeyMessagePressParam(keyCode, virtualKey) | kReleaseBits;
}

}  // namespace

std::vector<std::string> SplitCombination(std::string_view text, std::size_t limit) {
  text = text.substr(0, std::min(text.size(), kCombinationTextLimit));
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() < limit) {
    std::size_t end = text.size();
    for (std::size_t search = start;;) {
      const std::size_t plus = text.find('+', search);
      if (plus == std::string_view::npos) break;
      if (plus == search || text[plus - 1] == ' ') {
        search = plus + 1;  // a "+" that is itself a key name, or part of one such as "Num +"
        continue;
      }
      end = plus;
      break;
    }
    parts.emplace_back(text.substr(start, end - start));
    if (end >= text.size()) break;
    start = end + 1;
    if (start >= text.size()) break;
  }
  return parts;
}

int KeystrokeEmulator::ExecuteCommand(const ActionParams* params) {
  if (!contract::AcceptsBlock(params, 2, std::numeric_limits<std::int32_t>::max(), 2)) return 0;
  const Command* command = contract::FindWord(kCommands, ParamsView(params).text(0));
  return command ? (this->*command->run)(*params) : 0;
}

int KeystrokeEmulator::ExecuteSubCommand(std::string_view word, std::string_view argument) {
  const std::string wordCopy(word);
  const std::string argumentCopy(argument);
  ActionParams block{};
  block.count = 2;
  block.kind[0] = contract::kKindText;
  block.kind[1] = contract::kKindText;
  block.value[0] = reinterpret_cast<contract::ParamSlot>(wordCopy.c_str());
  block.value[1] = reinterpret_cast<contract::ParamSlot>(argumentCopy.c_str());
  return ExecuteCommand(&block);
}

void KeystrokeEmulator::SendKey(int virtualKey, int keyCode, unsigned flags) {
  if (virtualKey == 0 && keyCode == kPauseKeyCode) virtualKey = kPauseVirtualKey;
  const bool extendedKeyCode = (keyCode & 0x100) != 0;
  const auto scanCode = static_cast<std::uint8_t>(keyCode & 0xFF);
  if (settings_.win9xMode) {
    if (virtualKey == 0) {
      if (const NameEntry* name = NameOfKeyCode(keyCode)) virtualKey = LookUpVirtualKey(name->name);
    }
    if (virtualKey == 0) virtualKey = VirtualKeyOfKeyCode(keyCode, port_);
    virtualKey = GenericModifier(virtualKey);
    if (ExtendedKeyFlag(virtualKey, keyCode) != 0 || extendedKeyCode) flags |= kKeyEventExtended;
    port_.LegacyKeyEvent(static_cast<std::uint8_t>(virtualKey & 0xFF), scanCode, flags);
  } else {
    if (virtualKey != 0 && ExtendedKeyFlag(virtualKey, keyCode) != 0) flags |= kKeyEventExtended;
    if (virtualKey == 0) flags |= kKeyEventScanCode;
    if (extendedKeyCode) flags |= kKeyEventExtended;
    port_.SendKeyboardInput(static_cast<std::uint16_t>(virtualKey), scanCode, flags);
  }
}

void KeystrokeEmulator::ReleaseHeldKeys() {
  const KeyboardStateBytes state = port_.KeyboardState();
  for (int virtualKey = 0; virtualKey < static_cast<int>(state.size()); ++virtualKey) {
    if ((state[static_cast<std::size_t>(virtualKey)] & 0x80) == 0) continue;
    SendKey(virtualKey, static_cast<int>(port_.MapKey(static_cast<unsigned>(virtualKey), 0)), kKeyEventRelease);
  }
}

int KeystrokeEmulator::Press(const ActionParams& params) {
  ReleaseHeldKeys();
  const auto keyCodes = CombinationKeyCodes(CombinationArgument(params));
  if (!keyCodes) return 0;
  for (const int keyCode : *keyCodes) SendKey(0, keyCode, 0);
  for (auto keyCode = keyCodes->rbegin(); keyCode != keyCodes->rend(); ++keyCode) {
    SendKey(0, *keyCode, kKeyEventRelease);
  }
  return 1;
}

int KeystrokeEmulator::SendOneKey(const ActionParams& params, unsigned flags) {
  const int keyCode = SingleKeyCode(params);
  if (keyCode == 0) return 0;
  SendKey(0, keyCode, flags);
  return 1;
}

int KeystrokeEmulator::KeyDown(const ActionParams& params) { return SendOneKey(params, 0); }

int KeystrokeEmulator::KeyUp(const ActionParams& params) { return SendOneKey(params, kKeyEventRelease); }

int KeystrokeEmulator::PostOneKey(const ActionParams& params, bool release) {
  const auto window = TargetWindow(params);
  if (!window) return 0;
  const int keyCode = SingleKeyCode(params);
  if (keyCode == 0) return 0;
  const int virtualKey = VirtualKeyOfKeyCode(keyCode, port_);
  const std::uint32_t lParam =
      release ? KeyMessageReleaseParam(keyCode, virtualKey) : KeyMessagePressParam(keyCode, virtualKey);
  port_.PostWindowMessage(*window, release ? kWmKeyUp : kWmKeyDown, static_cast<std::uintptr_t>(virtualKey), lParam);
  return 1;
}

int KeystrokeEmulator::PostKeyDown(const ActionParams& params) { return PostOneKey(params, false); }

int KeystrokeEmulator::PostKeyUp(const ActionParams& params) { return PostOneKey(params, true); }

int KeystrokeEmulator::PostPress(const ActionParams& params) {
  const auto window = TargetWindow(params);
  if (!window) return 0;
  const auto keyCodes = CombinationKeyCodes(CombinationArgument(params));
  if (!keyCodes) return 0;
  struct Key {
    int keyCode;
    int virtualKey;
  };
  std::vector<Key> keys;
  for (const int keyCode : *keyCodes) keys.push_back({keyCode, VirtualKeyOfKeyCode(keyCode, port_)});

  const auto post = [&](unsigned message, int virtualKey, std::uint32_t lParam) {
    port_.PostWindowMessage(*window, message, static_cast<std::uintptr_t>(virtualKey), lParam);
  };
  const auto throughInput = [](int virtualKey) {
    return virtualKey == kShiftVirtualKey || virtualKey == kCtrlVirtualKey;
  };
  post(kWmSetFocus, 0, 0);
  // An Alt that leads the combination makes every message a system-key message until Alt goes up.
  unsigned offset = 0;
  std::uint32_t context = 0;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const Key& key = keys[i];
    if (key.virtualKey == kAltVirtualKey) {
      if (i == 0) offset = kSystemKeyOffset;
      context = kAltContext;
      post(kWmKeyDown + offset, kAltVirtualKey, KeyMessagePressParam(key.keyCode, key.virtualKey) | context);
    } else if (throughInput(key.virtualKey)) {
      SendKey(0, key.keyCode, 0);
    } else {
      post(kWmKeyDown + offset, key.virtualKey, KeyMessagePressParam(key.keyCode, key.virtualKey) | context);
    }
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    if (key->virtualKey == kAltVirtualKey) {
      context = 0;
      offset = 0;
      post(kWmKeyUp, kAltVirtualKey, KeyMessageReleaseParam(key->keyCode, key->virtualKey));
    } else if (throughInput(key->virtualKey)) {
      SendKey(0, key->keyCode, kKeyEventRelease);
    } else {
      post(kWmKeyUp + offset, key->virtualKey, KeyMessageReleaseParam(key->keyCode, key->virtualKey) | context);
    }
  }
  return 1;
}

}  // namespace keyboard
