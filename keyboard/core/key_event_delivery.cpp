#include "key_event_delivery.h"

#include <cstdio>
#include <cstring>

namespace keyboard {

namespace {

constexpr std::uint32_t kWindowsKeys = ModifierBit(kRowLeftWindows) | ModifierBit(kRowRightWindows);

struct HotkeyModifier {
  std::uint32_t hotkeyFlag;  // MOD_* of RegisterHotKey
  int row;
};
constexpr HotkeyModifier kHotkeyModifiers[] = {
    {0x2, kRowCtrl}, {0x4, kRowShift}, {0x8, kRowLeftWindows}, {0x1, kRowAlt}};
constexpr std::uint32_t kModAlt = 0x1;

}  // namespace

std::string_view KeyEventDelivery::currentName() const noexcept {
  return {eventText_, strnlen(eventText_, sizeof eventText_)};
}

void KeyEventDelivery::HandleKeyMessage(std::uintptr_t wParam, std::uintptr_t lParam, bool keyCodes, KeySystem& system,
                                        DeliveryPort& port) {
  const std::uint32_t bits = static_cast<std::uint32_t>(lParam);
  int code = static_cast<int>((bits >> 16) & 0x1FF);
  const bool pressed = (bits & kReleaseBit) == 0;
  if (keyCodes) code = KeyCodeToTableCode(code);

  if (const std::uint32_t flag = ModifierFlag(code)) {
    heldModifiers_ = pressed ? (heldModifiers_ | flag) : (heldModifiers_ & ~flag);
  } else {
    lastKeyValue_ = pressed ? MakeKeyValue(code, static_cast<int>(wParam & 0xFF)) : kNoKey;
  }
  // A Windows key's release may go to whoever has the focus, so any release forgets them.
  if (!pressed) heldModifiers_ &= ~kWindowsKeys;

  char name[kCombinationCapacity];
  std::string_view combination = NameCombination(heldModifiers_, lastKeyValue_, system, name);
  // Compared as the record can hold it: a longer name would otherwise never equal itself, and
  // every repeat would turn into a release and a press.
  if (combination.size() > sizeof eventText_ - 1) combination = combination.substr(0, sizeof eventText_ - 1);
  const std::string_view current = currentName();
  const bool visible = port.WindowVisible();

  if (combination == current) {
    if (current.empty()) return;
    // Counted without overflow: a key held for years still gives a defined number.
    repeatCounter_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(repeatCounter_) + 1u);
    if (visible) {
      char count[32];
      const int length = std::snprintf(count, sizeof count, "Repeat=%d", static_cast<int>(repeatCounter_));
      port.ShowCount({count, static_cast<std::size_t>(length)});
    } else {
      port.SendEvent(repeatCounter_);
    }
    return;
  }

  if (!visible && !current.empty()) port.SendEvent(contract::kEventReleased);
  std::memset(eventText_, 0, sizeof eventText_);
  std::memcpy(eventText_, combination.data(), combination.size());
  if (!combination.empty()) {
    repeatCounter_ = 0;
    if (visible) {
      port.ShowKeys(currentName());
      port.ShowCount("Pressed");
    } else {
      port.SendEvent(0);
    }
  } else {
    repeatCounter_ = -1;
    if (visible) {
      port.ShowKeys("");
      port.ShowCount("");
    }
  }
}

std::uint32_t KeyEventDelivery::HandleHotkey(std::uintptr_t hotkeyLParam, KeySystem& system) {
  const std::uint32_t modifiers = static_cast<std::uint32_t>(hotkeyLParam) & 0xFFFF;
  const int virtualKey = static_cast<int>((hotkeyLParam >> 16) & 0xFF);
  heldModifiers_ = 0;
  for (const HotkeyModifier& modifier : kHotkeyModifiers) {
    if (modifiers & modifier.hotkeyFlag) heldModifiers_ |= ModifierBit(modifier.row);
  }
  const std::uint32_t scanCode = system.MapKey(static_cast<unsigned>(virtualKey), 0) & 0xFF;
  const std::uint32_t extended = static_cast<std::uint32_t>(ExtendedKeyFlag(virtualKey, static_cast<int>(scanCode)));
  return 1u | scanCode << 16 | extended << 24 | ((modifiers & kModAlt) ? (1u << 29) : 0u);
}

}  // namespace keyboard
