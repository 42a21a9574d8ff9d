#include "key_names.h"

#include <cstdio>
#include <cstring>

#include "contract/action_params.h"

namespace keyboard {

static_assert(std::size(kKeyTable) == 197);
static_assert(kFirstNameTable.size() == 169);
static_assert(kSecondNameTable.size() == 126);

namespace {

template <std::size_t N>
const NameEntry* FindName(const std::array<NameEntry, N>& table, std::string_view name) noexcept {
  for (const NameEntry& entry : table) {
    if (contract::SameWord(entry.name, name)) return &entry;
  }
  return nullptr;
}

template <std::size_t N>
const NameEntry* FindCode(const std::array<NameEntry, N>& table, int code) noexcept {
  for (const NameEntry& entry : table) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

// Appends to the combination text; whatever does not fit into 127 characters is cut.
class CombinationWriter {
 public:
  explicit CombinationWriter(char (&out)[kCombinationCapacity]) noexcept : out_(out) { out_[0] = '\0'; }

  void append(std::string_view piece) noexcept {
    const std::size_t room = kCombinationCapacity - 1 - length_;
    const std::size_t n = piece.size() < room ? piece.size() : room;
    std::memcpy(out_ + length_, piece.data(), n);
    length_ += n;
    out_[length_] = '\0';
  }
  bool empty() const noexcept { return length_ == 0; }
  std::string_view text() const noexcept { return {out_, length_}; }

 private:
  char* out_;
  std::size_t length_ = 0;
};

// One code of a combination, tried against the second name table, the first, the system, and
// finally given a made-up name so that no key goes unnamed.
void AppendKeyName(std::int32_t keyValue, KeySystem& system, CombinationWriter& writer) {
  const int virtualKey = (keyValue >> 16) & 0xFF;
  const int tableCode = keyValue & 0x1FF;
  if (virtualKey >= 1 && virtualKey <= 254) {
    if (const NameEntry* entry = FindSecondTableCode(virtualKey)) return writer.append(entry->name);
  }
  if (const NameEntry* entry = FindFirstTableCode(tableCode)) return writer.append(entry->name);
  if (virtualKey != kUnusableVirtualKey) {
    char systemName[kCombinationCapacity] = {};
    std::size_t length = system.KeyNameText(tableCode << 16, std::span<char>(systemName, sizeof systemName));
    length = strnlen(systemName, length < sizeof systemName ? length : sizeof systemName - 1);
    if (length > 0) return writer.append({systemName, length});
  }
  char madeUp[32];
  const int length = std::snprintf(madeUp, sizeof madeUp, "Media_%.2X_%.3X", static_cast<unsigned>(virtualKey),
                                   static_cast<unsigned>(tableCode));
  writer.append({madeUp, static_cast<std::size_t>(length)});
}

}  // namespace

std::uint32_t ModifierFlag(int tableCode) noexcept {
  for (int row = 0; row < kModifierRows; ++row) {
    if (kModifierTableCodes[row] == tableCode) return ModifierBit(row);
  }
  return 0;
}

int KeyCodeToTableCode(int keyCode) noexcept {
  if (keyCode == 0x45) return 0xC5;  // Pause shares its scan code with Num Lock
  if (keyCode == 0x145) return 0x45;
  if (keyCode > 0xFF) return keyCode - 0x80;
  return keyCode;
}

int TableCodeToKeyCode(int tableCode) noexcept {
  if (tableCode == 0x45) return 0x145;
  if (tableCode == 0xC5) return 0x45;
  if (tableCode >= 0x81 && tableCode <= 0xFE) return tableCode + 0x80;
  return tableCode;
}

const NameEntry* FindFirstTableName(std::string_view name) noexcept { return FindName(kFirstNameTable, name); }
const NameEntry* FindFirstTableCode(int tableCode) noexcept { return FindCode(kFirstNameTable, tableCode); }
const NameEntry* FindSecondTableName(std::string_view name) noexcept { return FindName(kSecondNameTable, name); }
const NameEntry* FindSecondTableCode(int virtualKey) noexcept { return FindCode(kSecondNameTable, virtualKey); }

int LookUpKeyName(std::string_view name) noexcept {
  const NameEntry* entry = FindFirstTableName(name);
  return entry ? TableCodeToKeyCode(entry->code) : 0;
}

const NameEntry* NameOfKeyCode(int keyCode) noexcept { return FindFirstTableCode(KeyCodeToTableCode(keyCode)); }

int LookUpVirtualKey(std::string_view name) noexcept {
  const NameEntry* entry = FindSecondTableName(name);
  return entry ? entry->code : kNoVirtualKey;
}

int VirtualKeyOfKeyCode(int keyCode, KeySystem& system) {
  const unsigned scanCode = static_cast<unsigned>(keyCode) & 0xFF;
  unsigned virtualKey = system.MapKey(scanCode, 3);
  if (virtualKey == 0) virtualKey = system.MapKey(scanCode, 1);
  return GenericModifier(static_cast<int>(virtualKey));
}

int GenericModifier(int virtualKey) noexcept {
  switch (virtualKey) {
    case 0xA4:  // left Alt
      return 0x12;
    case 0xA0:  // left Shift
      return 0x10;
    case 0xA2:  // left Ctrl
      return 0x11;
    default:
      return virtualKey;
  }
}

int ExtendedKeyFlag(int virtualKey, int keyCode) noexcept {
  if (keyCode > 0xFF || virtualKey >= 0xA6) return 1;
  switch (virtualKey) {
    case 0x03:  // Cancel
    case 0x13:  // Pause
    case 0x2C:  // Print Screen
    case 0x2D:  // Insert
    case 0x2E:  // Delete
    case 0x5D:  // Application
    case 0x6F:  // Num /
    case 0x90:  // Num Lock
    case 0xA3:  // right Ctrl
    case 0xA5:  // right Alt
      return 1;
    default:
      return (virtualKey >= 0x21 && virtualKey <= 0x28) ? 1 : 0;  // Page Up to Down
  }
}

std::string_view NameCombination(std::uint32_t heldModifiers, std::int32_t keyValue, KeySystem& system,
                                 char (&out)[kCombinationCapacity]) {
  CombinationWriter writer(out);
  for (int row = 0; row <= kModifierRows; ++row) {
    std::int32_t code;
    if (row < kModifierRows) {
      if ((heldModifiers & ModifierBit(row)) == 0) continue;
      code = kModifierTableCodes[row];
    } else {
      if (keyValue == kNoKey) break;
      code = keyValue;
    }
    if (!writer.empty()) writer.append("+");
    AppendKeyName(code, system, writer);
  }
  return writer.text();
}

}  // namespace keyboard
