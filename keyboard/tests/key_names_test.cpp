#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "fake_key_system.h"
#include "key_names.h"

namespace keyboard {
namespace {

using testing::FakeKeySystem;

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  return upper;
}

TEST(KeyTable, NameTablesKeepOrderAndExactlyTheKnownDuplicates) {
  EXPECT_EQ(std::size(kKeyTable), 197u);
  EXPECT_EQ(kFirstNameTable.size(), 169u);
  EXPECT_EQ(kSecondNameTable.size(), 126u);
  EXPECT_EQ(kFirstNameTable.front().name, "Esc");
  EXPECT_EQ(kFirstNameTable.back().name, "MediaSelect");
  EXPECT_EQ(kSecondNameTable.back().name, "OEM_Clear");

  std::map<std::string, int> firstNames, secondNames;
  std::map<int, int> firstCodes, secondCodes;
  for (const NameEntry& e : kFirstNameTable) ++firstNames[std::string(e.name)], ++firstCodes[e.code];
  for (const NameEntry& e : kSecondNameTable) ++secondNames[std::string(e.name)], ++secondCodes[e.code];
  std::set<std::string> firstDup, secondDup;
  std::set<int> firstDupCodes, secondDupCodes;
  const auto repeated = [](const auto& counts, auto& out) {
    for (const auto& [key, n] : counts) {
      if (n > 1) out.insert(key);
    }
  };
  repeated(firstNames, firstDup);
  repeated(secondNames, secondDup);
  repeated(firstCodes, firstDupCodes);
  repeated(secondCodes, secondDupCodes);
  EXPECT_EQ(firstDup, (std::set<std::string>{"F13", "F14", "F15", "Right Shift"}));
  EXPECT_EQ(secondDup, (std::set<std::string>{"OEM_102", "Right Shift"}));
  EXPECT_EQ(firstDupCodes, (std::set<int>{0xDB}));
  EXPECT_EQ(secondDupCodes, (std::set<int>{0x5B, 0xA1, 0xE2}));
}

TEST(KeyTable, EveryNameRoundTripsToItsFirstEntry) {
  for (const NameEntry& entry : kFirstNameTable) {
    const int keyCode = LookUpKeyName(entry.name);
    ASSERT_NE(keyCode, 0) << entry.name;
    const NameEntry* first = FindFirstTableName(entry.name);
    EXPECT_EQ(KeyCodeToTableCode(keyCode), first->code) << entry.name;
    EXPECT_EQ(NameOfKeyCode(keyCode), FindFirstTableCode(first->code)) << entry.name;
    EXPECT_EQ(LookUpKeyName(Upper(entry.name)), keyCode) << entry.name;
  }
  for (const NameEntry& entry : kSecondNameTable) {
    EXPECT_EQ(LookUpVirtualKey(entry.name), FindSecondTableName(entry.name)->code) << entry.name;
  }
}

TEST(KeyCodes, ConvertBothWays) {
  struct Case {
    int keyCode;
    int tableCode;
  };
  // Pairs that convert into each other in both directions.
  const Case pairs[] = {{0x1E, 0x1E},  {0x45, 0xC5}, {0x145, 0x45}, {0x11C, 0x9C}, {0x153, 0xD3},
                        {0x15B, 0xDB}, {0x80, 0x80}, {0x01, 0x01},  {0x1FE, 0x17E}};
  for (const Case& c : pairs) {
    EXPECT_EQ(KeyCodeToTableCode(c.keyCode), c.tableCode) << std::hex << c.keyCode;
    if (c.tableCode <= 0xFF) {
      EXPECT_EQ(TableCodeToKeyCode(c.tableCode), c.keyCode) << std::hex << c.tableCode;
    }
  }
  EXPECT_EQ(TableCodeToKeyCode(0xFF), 0xFF);
  EXPECT_EQ(TableCodeToKeyCode(0x81), 0x101);
  EXPECT_EQ(TableCodeToKeyCode(0xFE), 0x17E);
  EXPECT_EQ(KeyCodeToTableCode(0x100), 0x80);
  EXPECT_EQ(KeyCodeToTableCode(0), 0);
}

TEST(KeyNameLookUp, WholeNamesWithoutCaseOrTrimming) {
  struct Case {
    const char* name;
    int keyCode;
  };
  const Case cases[] = {
      {"num 7", 0x47},
      {"Num Enter", 0x11C},
      {"Num Lock", 0x145},
      {"num lock", 0x145},
      {"Pause", 0x45},
      {"Windows", 0x15B},
      {"Left Windows", 0x15B},
      {"Right Shift", 0x36},
      {"F13", 0x64},
      {"f14", 0x65},
      {"OEM_102", 0x56},
      {"\\", 0x2B},
      {"`", 0x29},
      {"Delete", 0x153},
      {"NumLock", 0},
      {" Num Lock", 0},
      {"Num Lock ", 0},
      {"", 0},
      {"Num", 0},
      {"ICO_Help", 0},  // a key with a virtual key only
  };
  for (const Case& c : cases) EXPECT_EQ(LookUpKeyName(c.name), c.keyCode) << '"' << c.name << '"';
}

TEST(KeyNameLookUp, NamesOfCodesTakeTheFirstEntry) {
  EXPECT_EQ(NameOfKeyCode(0x15B)->name, "Left Windows");
  EXPECT_EQ(NameOfKeyCode(0x136)->name, "Right Shift");  // table code B6
  EXPECT_EQ(NameOfKeyCode(0x45)->name, "Pause");
  EXPECT_EQ(NameOfKeyCode(0x145)->name, "Num Lock");
  EXPECT_EQ(NameOfKeyCode(0x55), nullptr);
  EXPECT_EQ(LookUpVirtualKey("windows"), 0x5B);
  EXPECT_EQ(LookUpVirtualKey("Right Shift"), 0xA1);
  EXPECT_EQ(LookUpVirtualKey("OEM_Clear"), 0xFE);
  EXPECT_EQ(LookUpVirtualKey("Num 7"), 0);  // no virtual key in the table
  EXPECT_EQ(LookUpVirtualKey("Noname "), 0);
}

TEST(VirtualKeys, SystemMappingWithGenericModifiers) {
  FakeKeySystem system;
  system.mappings[{0x1D, 3}] = 0xA2;  // left Ctrl
  system.mappings[{0x38, 3}] = 0xA4;
  system.mappings[{0x2A, 3}] = 0xA0;
  system.mappings[{0x36, 3}] = 0xA1;
  system.mappings[{0x53, 3}] = 0x2E;
  system.mappings[{0x47, 1}] = 0x24;                    // only the plain form knows it
  EXPECT_EQ(VirtualKeyOfKeyCode(0x11D, system), 0x11);  // extended bit ignored: scan code 1D
  EXPECT_EQ(VirtualKeyOfKeyCode(0x38, system), 0x12);
  EXPECT_EQ(VirtualKeyOfKeyCode(0x2A, system), 0x10);
  EXPECT_EQ(VirtualKeyOfKeyCode(0x36, system), 0xA1);  // right-hand keys stay
  EXPECT_EQ(VirtualKeyOfKeyCode(0x153, system), 0x2E);
  EXPECT_EQ(VirtualKeyOfKeyCode(0x47, system), 0x24);
  EXPECT_EQ(VirtualKeyOfKeyCode(0x77, system), 0);

  const int unchanged[] = {0xA1, 0xA3, 0xA5, 0x10, 0x41, 0};
  for (int vk : unchanged) EXPECT_EQ(GenericModifier(vk), vk);
}

TEST(VirtualKeys, ExtendedKeyRule) {
  const int extended[] = {3, 19, 33, 34, 35, 36, 37, 38, 39, 40, 44, 45, 46, 93, 111, 144, 163, 165, 166, 200, 254};
  const int plain[] = {0, 1, 8, 13, 17, 18, 20, 32, 41, 43, 47, 65, 91, 92, 94, 110, 112, 145, 160, 162, 164};
  for (int vk : extended) EXPECT_EQ(ExtendedKeyFlag(vk, 0x10), 1) << vk;
  for (int vk : plain) EXPECT_EQ(ExtendedKeyFlag(vk, 0x10), 0) << vk;
  EXPECT_EQ(ExtendedKeyFlag(0x41, 0x100), 1);
  EXPECT_EQ(ExtendedKeyFlag(0x41, 0xFF), 0);
}

std::string Name(std::uint32_t modifiers, std::int32_t keyValue, KeySystem& system) {
  char out[kCombinationCapacity];
  const std::string_view text = NameCombination(modifiers, keyValue, system, out);
  EXPECT_EQ(text.size(), std::strlen(out));
  return std::string(text);
}

TEST(CombinationNaming, ExamplesAndSourcesOfNames) {
  FakeKeySystem system;
  system.names[0x550000] = "SysName55";
  system.names[0x1530000] = "Num Del";
  struct Case {
    std::uint32_t modifiers;
    std::int32_t keyValue;
    const char* name;
  };
  const Case cases[] = {
      {ModifierBit(kRowCtrl) | ModifierBit(kRowAlt), MakeKeyValue(0xD3, 0x2E), "Ctrl+Alt+Delete"},
      {0, MakeKeyValue(0x1E, 0x41), "A"},
      {ModifierBit(kRowLeftWindows), kNoKey, "Left Windows"},
      {0, MakeKeyValue(0x55, 0xFF), "Media_FF_055"},  // 255 skips the system's name
      {0, MakeKeyValue(0x47, 0), "Num 7"},            // DirectInput: no virtual key
      {0, MakeKeyValue(0x47, 0x24), "Num 7"},         // 24 is not in the second table
      {0, kNoKey, ""},
      {0, MakeKeyValue(0x1C, 0x0D), "Enter"},
      {0, MakeKeyValue(0x9C, 0x0D), "Enter"},  // the virtual key's name comes first
      {0, MakeKeyValue(0xDB, 0x5B), "Left Windows"},
      {0, MakeKeyValue(0xDB, 0), "Left Windows"},
      {0, MakeKeyValue(0xB6, 0), "Right Shift"},
      {0, MakeKeyValue(0x7C, 0), "F13"},
      {0, MakeKeyValue(0x55, 0), "SysName55"},  // virtual key 0 still asks the system
      {0, MakeKeyValue(0x54, 0xE1), "OEM_AX"},
      {0, MakeKeyValue(0x153, 0), "Num Del"},         // a table code above FF reaches the system
      {0, MakeKeyValue(0x59, 0x07), "Media_07_059"},  // the system has no name either
      {ModifierBit(kRowRightShiftExtended) | ModifierBit(kRowRightShift), kNoKey, "Right Shift+Right Shift"},
      {ModifierBit(kRowRightWindows) | ModifierBit(kRowCtrl) | ModifierBit(kRowShift), MakeKeyValue(0x2E, 0x43),
       "Ctrl+Shift+Right Windows+C"},
      {0x1FF, kNoKey, "Ctrl+Right Ctrl+Alt+Right Alt+Shift+Right Shift+Right Shift+Left Windows+Right Windows"},
  };
  for (const Case& c : cases) EXPECT_EQ(Name(c.modifiers, c.keyValue, system), c.name) << c.name;
}

TEST(CombinationNaming, NeverExceeds127Characters) {
  FakeKeySystem system;
  system.names[0x590000] = std::string(200, 'k');
  const std::string name = Name(0x1FF, MakeKeyValue(0x59, 0), system);
  const std::string modifiers =
      "Ctrl+Right Ctrl+Alt+Right Alt+Shift+Right Shift+Right Shift+Left Windows+Right Windows+";
  ASSERT_EQ(name.size(), 127u);
  EXPECT_EQ(name, modifiers + std::string(127 - modifiers.size(), 'k'));
  // A system name that fills the whole buffer on its own is cut as well.
  EXPECT_EQ(Name(0, MakeKeyValue(0x59, 0), system), std::string(127, 'k'));
}

TEST(Modifiers, FlagsOfTheNineRows) {
  const int codes[] = {0x1D, 0x9D, 0x38, 0xB8, 0x2A, 0x36, 0xB6, 0xDB, 0xDC};
  for (int row = 0; row < 9; ++row) EXPECT_EQ(ModifierFlag(codes[row]), 1u << row);
  const int others[] = {0, 0x1E, 0x5B, 0x11D, 0x136, 0xC5, 0xFF};
  for (int code : others) EXPECT_EQ(ModifierFlag(code), 0u) << code;
}

}  // namespace
}  // namespace keyboard
