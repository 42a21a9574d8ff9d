#include "hotkey_watches.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "contract/action_params.h"
#include "host_block.h"
#include "recording_input_port.h"

namespace keyboard {
namespace {

using testing::HostBlock;
using testing::HostValues;

struct Item {
  std::string text;
  std::int32_t id;
  bool operator==(const Item&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Item& item) {
  return out << '{' << item.text << ',' << item.id << '}';
}

class VectorList final : public RegistrationList {
 public:
  std::vector<Item> items;
  bool full = false;

  std::size_t Count() override { return items.size(); }
  std::string Text(std::size_t index) override { return items.at(index).text; }
  std::int32_t Id(std::size_t index) override { return items.at(index).id; }
  bool Append(std::string_view text, std::int32_t id) override {
    if (full) return false;
    items.push_back({std::string(text), id});
    return true;
  }
  void Remove(std::size_t index) override { items.erase(items.begin() + static_cast<std::ptrdiff_t>(index)); }
};

struct Registered {
  unsigned modifiers;
  int virtualKey;
  bool operator==(const Registered&) const = default;
};

// Keeps the registered pairs by id and, as the system does, refuses a pair that is taken.
class FakeHotkeySystem final : public HotkeySystem {
 public:
  std::map<std::int32_t, Registered> registered;
  std::vector<std::string> calls;
  bool refuseAll = false;

  unsigned MapKey(unsigned code, unsigned mapType) override { return keyboard_.MapKey(code, mapType); }
  std::size_t KeyNameText(std::int32_t lParam, std::span<char> out) override {
    return keyboard_.KeyNameText(lParam, out);
  }
  bool RegisterHotkey(std::int32_t id, unsigned modifiers, int virtualKey) override {
    calls.push_back("register " + std::to_string(id));
    if (refuseAll || registered.count(id) != 0) return false;
    for (const auto& [otherId, pair] : registered) {
      if (pair == Registered{modifiers, virtualKey}) return false;
    }
    registered[id] = {modifiers, virtualKey};
    return true;
  }
  void UnregisterHotkey(std::int32_t id) override {
    calls.push_back("unregister " + std::to_string(id));
    registered.erase(id);
  }

 private:
  testing::RecordingInputPort keyboard_;
};

class Watches : public ::testing::Test {
 protected:
  void start(HostValues values) {
    const HostBlock block(values);
    watches.Start(&block.params);
  }
  void stop(HostValues values) {
    const HostBlock block(values);
    watches.Stop(&block.params);
  }
  std::vector<std::int32_t> ids() const {
    std::vector<std::int32_t> result;
    for (const Item& item : list.items) result.push_back(item.id);
    return result;
  }

  VectorList list;
  FakeHotkeySystem system;
  HotkeyWatches watches{list, system};
};

struct ParseCase {
  const char* text;
  bool parses;
  unsigned modifiers;
  int virtualKey;
};

TEST(ParseHotkey, TurnsNamesIntoModifierFlagsAndOneKey) {
  const ParseCase cases[] = {
      {"Ctrl+Alt+F1", true, kModControl | kModAlt, 0x70},
      {"Alt+Ctrl+F1", true, kModControl | kModAlt, 0x70},
      {"ctrl+ALT+f1", true, kModControl | kModAlt, 0x70},
      {"Right Ctrl+F2", true, kModControl, 0x71},
      {"Right Alt+Right Windows+A", true, kModAlt | kModWin, 'A'},
      {"Shift+Right Shift+A", true, kModShift, 'A'},
      {"A+B", true, 0, 'B'},
      {"Ctrl+Alt+Shift+Windows+F1", true, kModControl | kModAlt | kModShift | kModWin, 0x70},
      {"Ctrl+Alt+Shift+Left Windows", true, kModControl | kModAlt | kModShift | kModWin, 0},
      {"Ctrl++", true, kModControl, 0x6B},  // the key named "+" has the keypad plus key's scan code
      {"Delete", true, 0, 0x2E},
      // Names only the virtual-key table has.
      {"Ctrl+OEM_Clear", true, kModControl, 0xFE},
      {"Shift+Packet", true, kModShift, 0xE7},
      {"Ctrl+Nokey", false, 0, 0},
      {"Ctrl + A", false, 0, 0},
      {"NumLock", false, 0, 0},
      {"", false, 0, 0},
      {"Ctrl+", true, kModControl, 0},  // a trailing "+" ends the text
      // A key name without a virtual key in the table gets the system's mapping of its scan code.
      {"Ctrl+-", true, kModControl, 0xBD},
  };
  testing::RecordingInputPort keyboard;
  for (const ParseCase& c : cases) {
    unsigned modifiers = 99;
    int virtualKey = 99;
    EXPECT_EQ(ParseHotkey(c.text, keyboard, modifiers, virtualKey), c.parses) << c.text;
    if (!c.parses) continue;
    EXPECT_EQ(modifiers, c.modifiers) << c.text;
    EXPECT_EQ(virtualKey, c.virtualKey) << c.text;
  }
}

TEST(ParseHotkey, ReadsOnlyTheFirst127Characters) {
  testing::RecordingInputPort keyboard;
  unsigned modifiers = 0;
  int virtualKey = 0;
  // 40 "Ctrl+" parts fill 200 characters: the cut falls inside them, so no "F1" is seen.
  std::string text;
  for (int i = 0; i < 40; ++i) text += "Ctrl+";
  EXPECT_FALSE(ParseHotkey(text + "F1", keyboard, modifiers, virtualKey)) << "cut inside a name";
  std::string shifts;
  for (int i = 0; i < 21; ++i) shifts += "Shift+";  // 126 characters
  EXPECT_TRUE(ParseHotkey(shifts + "A", keyboard, modifiers, virtualKey));
  EXPECT_EQ(modifiers, kModShift);
  EXPECT_EQ(virtualKey, 'A');
  EXPECT_TRUE(ParseHotkey(shifts + "AB", keyboard, modifiers, virtualKey)) << "\"AB\" is cut to \"A\"";
  EXPECT_EQ(virtualKey, 'A');
}

TEST_F(Watches, RegistersUnderAscendingIdsAndKeepsTheHostsText) {
  start({"Ctrl+Alt+F1"});
  EXPECT_EQ(list.items, (std::vector<Item>{{"Ctrl+Alt+F1", 0}}));
  EXPECT_EQ(system.registered.at(0), (Registered{kModControl | kModAlt, 0x70}));

  start({"ctrl+alt+f1"});  // the same text without regard to case: not asked again
  start({"Alt+Ctrl+F1"});  // the same pair: the system refuses, nothing is added
  EXPECT_EQ(list.items, (std::vector<Item>{{"Ctrl+Alt+F1", 0}}));
  EXPECT_EQ(system.calls, (std::vector<std::string>{"register 0", "register 1"}));

  start({"B"});
  start({"C"});
  EXPECT_EQ(ids(), (std::vector<std::int32_t>{0, 1, 2}));
  stop({"b"});
  start({"D"});
  EXPECT_EQ(ids(), (std::vector<std::int32_t>{0, 2, 3}));
  stop({"D"});
  start({"E"});
  EXPECT_EQ(ids(), (std::vector<std::int32_t>{0, 2, 3})) << "3 is given again once nothing holds it";
  EXPECT_EQ(list.items.back().text, "E");

  stop({"CTRL+ALT+F1"});
  stop({"C"});
  stop({"E"});
  EXPECT_TRUE(list.items.empty());
  EXPECT_TRUE(system.registered.empty());
  start({"F"});
  EXPECT_EQ(ids(), (std::vector<std::int32_t>{0})) << "an empty list starts again at 0";
}

TEST_F(Watches, KeepsTextsAtFullLength) {
  // Parsing looks at 127 characters; the list keeps the whole text and tells texts apart by it.
  std::string shifts;
  for (int i = 0; i < 21; ++i) shifts += "Shift+";
  const std::string first = shifts + "A" + std::string(9000, 'x');
  const std::string second = shifts + "A" + std::string(9000, 'y');
  start({first});
  start({second});  // a different text for the same pair: refused by the system
  ASSERT_EQ(list.items.size(), 1u);
  EXPECT_EQ(list.items[0].text, first);
  stop({second});
  EXPECT_EQ(list.items.size(), 1u) << "only an equal text withdraws";
  stop({first});
  EXPECT_TRUE(list.items.empty());
}

TEST_F(Watches, FailuresChangeNothing) {
  start({"Ctrl+Nokey"});
  system.refuseAll = true;
  start({"Ctrl+Q"});
  system.refuseAll = false;
  stop({"Ctrl+Q"});
  EXPECT_TRUE(list.items.empty());
  EXPECT_EQ(system.calls, (std::vector<std::string>{"register 0"})) << "an unknown name asks the system nothing";

  list.full = true;
  start({"Ctrl+Q"});
  EXPECT_TRUE(system.registered.empty()) << "a hotkey the list cannot hold is withdrawn at once";
  list.full = false;

  start({"Ctrl+Q"});
  const std::vector<Item> registered = list.items;
  // Blocks that both exports ignore.
  start({});
  start({"Ctrl+W", "Ctrl+E"});
  start({7});
  stop({"Ctrl+Q", 1});
  stop({0x51});
  HostBlock nullText({"Ctrl+Q"});
  nullText.params.value[0] = 0;
  watches.Start(&nullText.params);
  watches.Stop(&nullText.params);
  HostBlock countTooLarge({"Ctrl+Q"});
  countTooLarge.params.count = 1000;
  watches.Stop(&countTooLarge.params);
  watches.Start(nullptr);
  watches.Stop(nullptr);
  stop({"Nothing+Registered"});
  EXPECT_EQ(list.items, registered);
  EXPECT_EQ(system.registered.size(), 1u);
}

TEST_F(Watches, WithdrawAllUnregistersInListOrderAndKeepsTheList) {
  start({"A"});
  start({"B"});
  start({"C"});
  stop({"A"});
  system.calls.clear();
  watches.WithdrawAll();
  EXPECT_EQ(system.calls, (std::vector<std::string>{"unregister 1", "unregister 2"}));
  EXPECT_TRUE(system.registered.empty());
  EXPECT_EQ(list.items.size(), 2u);
}

TEST_F(Watches, RandomRegistrationsKeepIdsAscendingAndMatchTheSystem) {
  std::mt19937 random(611);
  const char* const keys[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
  const char* const modifiers[] = {"", "Ctrl+", "Alt+", "Shift+", "Ctrl+Alt+"};
  for (int i = 0; i < 200; ++i) {
    const std::string text = std::string(modifiers[random() % std::size(modifiers)]) + keys[random() % std::size(keys)];
    if (random() % 3 == 0) {
      stop({text});
    } else {
      start({text});
    }
    std::set<std::int32_t> listIds;
    for (std::size_t k = 0; k < list.items.size(); ++k) {
      if (k > 0) {
        ASSERT_LT(list.items[k - 1].id, list.items[k].id);
      }
      listIds.insert(list.items[k].id);
    }
    std::set<std::int32_t> systemIds;
    for (const auto& [id, pair] : system.registered) systemIds.insert(id);
    ASSERT_EQ(listIds, systemIds);
  }
}

}  // namespace
}  // namespace keyboard
