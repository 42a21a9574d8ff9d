// The keyboard plug-in's vocabulary: the key table, the two name tables made from it, the forms
// a key travels in (key code, table code, virtual key, key value) and the naming of a held key
// combination. Platform-free: what only the system knows comes through KeySystem.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace keyboard {

// Key code: scan code in bits 0-7, bit 8 for an extended key (the form of bits 16-24 of a key
// message's LPARAM). Table code: DirectInput's number of a key. Virtual key: Windows' code, 0 none.
inline constexpr int kNoVirtualKey = 0;
// A key without a usable virtual key: naming skips the second name table and the system's name.
inline constexpr int kUnusableVirtualKey = 0xFF;
// Key value: table code in bits 0-8, virtual key in bits 16-23; kNoKey for none.
inline constexpr std::int32_t kNoKey = -1;
inline constexpr std::size_t kCombinationCapacity = 128;  // 127 characters and a NUL

struct KeyEntry {
  std::uint16_t tableCode;  // 0: none
  std::uint8_t virtualKey;  // 0: none
  std::string_view name;
};

inline constexpr KeyEntry kKeyTable[] = {
#define KEY(tableCode, virtualKey, name) {tableCode, virtualKey, name},
#include "key_table.inc"
#undef KEY
};

// One entry of a name table: a name with its table code (first table) or virtual key (second).
struct NameEntry {
  std::string_view name;
  std::uint16_t code;
};

namespace detail {

template <auto Code>
constexpr std::size_t CountWith() {
  std::size_t n = 0;
  for (const KeyEntry& key : kKeyTable) n += (key.*Code != 0) ? 1 : 0;
  return n;
}

template <auto Code, std::size_t N>
constexpr std::array<NameEntry, N> NameTableOf() {
  std::array<NameEntry, N> table{};
  std::size_t i = 0;
  for (const KeyEntry& key : kKeyTable) {
    if (key.*Code != 0) table[i++] = {key.name, static_cast<std::uint16_t>(key.*Code)};
  }
  return table;
}

}  // namespace detail

// Every key with a table code, in table order, duplicates kept.
inline constexpr auto kFirstNameTable =
    detail::NameTableOf<&KeyEntry::tableCode, detail::CountWith<&KeyEntry::tableCode>()>();
// Every key with a virtual key, in table order, duplicates kept.
inline constexpr auto kSecondNameTable =
    detail::NameTableOf<&KeyEntry::virtualKey, detail::CountWith<&KeyEntry::virtualKey>()>();

// The modifiers in naming order; row i is flag bit i of the held modifiers.
inline constexpr std::uint16_t kModifierTableCodes[] = {0x1D, 0x9D, 0x38, 0xB8, 0x2A, 0x36, 0xB6, 0xDB, 0xDC};
inline constexpr int kModifierRows = static_cast<int>(std::size(kModifierTableCodes));
enum ModifierRow : int {
  kRowCtrl = 0,
  kRowRightCtrl = 1,
  kRowAlt = 2,
  kRowRightAlt = 3,
  kRowShift = 4,
  kRowRightShift = 5,
  kRowRightShiftExtended = 6,
  kRowLeftWindows = 7,
  kRowRightWindows = 8,
};
constexpr std::uint32_t ModifierBit(int row) { return 1u << row; }

// What naming needs from the system.
class KeySystem {
 public:
  virtual ~KeySystem() = default;
  // MapVirtualKey: type 0 virtual key -> scan code, 1 scan code -> virtual key, 3 the same telling
  // left from right. 0 when there is none.
  virtual unsigned MapKey(unsigned code, unsigned mapType) = 0;
  // GetKeyNameText for a key message LPARAM into `out` (NUL-terminated); returns the length, 0 for
  // no name.
  virtual std::size_t KeyNameText(std::int32_t lParam, std::span<char> out) = 0;
};

// The flag bit of the modifier row with this table code, 0 for a key that is no modifier.
std::uint32_t ModifierFlag(int tableCode) noexcept;

int KeyCodeToTableCode(int keyCode) noexcept;
int TableCodeToKeyCode(int tableCode) noexcept;

// Whole-name searches without regard to letter case and without trimming blanks; first match.
const NameEntry* FindFirstTableName(std::string_view name) noexcept;
const NameEntry* FindFirstTableCode(int tableCode) noexcept;
const NameEntry* FindSecondTableName(std::string_view name) noexcept;
const NameEntry* FindSecondTableCode(int virtualKey) noexcept;

// Name -> key code; 0 when the name is unknown.
int LookUpKeyName(std::string_view name) noexcept;
// Key code -> its entry in the first name table, or nullptr.
const NameEntry* NameOfKeyCode(int keyCode) noexcept;
// Name -> virtual key from the second name table; 0 when the name is not there.
int LookUpVirtualKey(std::string_view name) noexcept;
// Key code -> virtual key as the system maps its scan code, generic for the left-hand modifiers.
int VirtualKeyOfKeyCode(int keyCode, KeySystem& system);
// Left Alt, Shift and Ctrl become the generic Alt, Shift and Ctrl; every other key stays.
int GenericModifier(int virtualKey) noexcept;
// 1 when a key with this virtual key and key code must be sent as an extended key, else 0.
int ExtendedKeyFlag(int virtualKey, int keyCode) noexcept;

constexpr std::int32_t MakeKeyValue(int tableCode, int virtualKey) {
  return static_cast<std::int32_t>((tableCode & 0x1FF) | ((virtualKey & 0xFF) << 16));
}

// Names the held modifiers and the key value ("Ctrl+Alt+Delete") into `out`: at most 127
// characters, cut where it does not fit. Returns the text written.
std::string_view NameCombination(std::uint32_t heldModifiers, std::int32_t keyValue, KeySystem& system,
                                 char (&out)[kCombinationCapacity]);

}  // namespace keyboard
