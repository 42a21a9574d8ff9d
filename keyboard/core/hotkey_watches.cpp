#include "hotkey_watches.h"

#include "contract/action_params.h"
#include "keystroke_emulation.h"

namespace keyboard {

namespace {

struct ModifierKey {
  int virtualKey;
  unsigned flag;
};
// Left, right and generic forms of a modifier all give the same flag.
constexpr ModifierKey kModifierKeys[] = {
    {0x12, kModAlt},     {0xA5, kModAlt},     {0x10, kModShift}, {0xA1, kModShift},
    {0x11, kModControl}, {0xA3, kModControl}, {0x5B, kModWin},   {0x5C, kModWin},
};

unsigned ModifierOf(int virtualKey) noexcept {
  for (const ModifierKey& key : kModifierKeys) {
    if (key.virtualKey == virtualKey) return key.flag;
  }
  return 0;
}

// The host's text of a block that StartManual and StopManual accept, else nullptr.
const char* WatchText(const contract::ActionParams* params) noexcept {
  if (!contract::AcceptsBlock(params, 1, 1, 1)) return nullptr;
  return contract::ParamsView(params).text(0);
}

}  // namespace

bool ParseHotkey(std::string_view text, KeySystem& system, unsigned& modifiers, int& virtualKey) {
  modifiers = 0;
  virtualKey = 0;
  for (const std::string& name : SplitCombination(text, kNoPartLimit)) {
    int key = 0;
    if (const int keyCode = LookUpKeyName(name)) key = VirtualKeyOfKeyCode(keyCode, system);
    if (key == 0) key = LookUpVirtualKey(name);
    if (key == 0) return false;
    if (const unsigned flag = ModifierOf(key)) {
      modifiers |= flag;
    } else {
      virtualKey = key;
    }
  }
  return true;
}

std::size_t HotkeyWatches::Find(std::string_view text) {
  const std::size_t count = list_.Count();
  for (std::size_t i = 0; i < count; ++i) {
    if (contract::SameWord(list_.Text(i), text)) return i;
  }
  return count;
}

void HotkeyWatches::Start(const contract::ActionParams* params) {
  const char* text = WatchText(params);
  if (text == nullptr) return;
  const std::string_view combination(text);
  const std::size_t count = list_.Count();
  if (Find(combination) != count) return;
  unsigned modifiers = 0;
  int virtualKey = 0;
  if (!ParseHotkey(combination, system_, modifiers, virtualKey)) return;
  // Above every id in the list; counted without overflow.
  const std::int32_t id =
      count == 0 ? 0 : static_cast<std::int32_t>(static_cast<std::uint32_t>(list_.Id(count - 1)) + 1u);
  if (!system_.RegisterHotkey(id, modifiers, virtualKey)) return;
  // A hotkey the list does not hold could never be withdrawn.
  if (!list_.Append(combination, id)) system_.UnregisterHotkey(id);
}

void HotkeyWatches::Stop(const contract::ActionParams* params) {
  const char* text = WatchText(params);
  if (text == nullptr) return;
  const std::size_t index = Find(text);
  if (index == list_.Count()) return;
  system_.UnregisterHotkey(list_.Id(index));
  list_.Remove(index);
}

void HotkeyWatches::WithdrawAll() {
  const std::size_t count = list_.Count();
  for (std::size_t i = 0; i < count; ++i) system_.UnregisterHotkey(list_.Id(i));
}

}  // namespace keyboard
