#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_key_system.h"
#include "key_event_delivery.h"

namespace keyboard {
namespace {

using testing::FakeKeySystem;

struct Sent {
  std::string name;  // the record's text while the event was sent
  std::intptr_t state;
  bool operator==(const Sent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Sent& sent) {
  return out << '{' << sent.name << ',' << sent.state << '}';
}

class RecordingPort : public DeliveryPort {
 public:
  explicit RecordingPort(const char* eventText) : eventText_(eventText) {}
  bool visible = false;
  std::vector<Sent> sent;
  std::vector<std::string> keysPanel, countLabel;

  bool WindowVisible() override { return visible; }
  void SendEvent(std::intptr_t state) override { sent.push_back({eventText_, state}); }
  void ShowKeys(std::string_view text) override { keysPanel.emplace_back(text); }
  void ShowCount(std::string_view text) override { countLabel.emplace_back(text); }

 private:
  const char* eventText_;
};

// A key message as the hook library posts it: virtual key, key code, press or release.
struct Key {
  int virtualKey;
  int keyCode;
  bool down;
};
constexpr Key Down(int vk, int code) { return {vk, code, true}; }
constexpr Key Up(int vk, int code) { return {vk, code, false}; }

constexpr int kCtrl[] = {0x11, 0x1D};
constexpr int kShift[] = {0x10, 0x2A};
constexpr int kLeftWin[] = {0x5B, 0x15B};

class DeliveryTest : public ::testing::Test {
 protected:
  char eventText[contract::kEventTextSize] = {};
  KeyEventDelivery delivery{eventText};
  FakeKeySystem system;
  RecordingPort port{eventText};

  void Feed(const Key& key, bool keyCodes = true) {
    const std::uint32_t lParam =
        1u | static_cast<std::uint32_t>(key.keyCode & 0x1FF) << 16 | (key.down ? 0u : 0xC0000000u);
    delivery.HandleKeyMessage(static_cast<std::uintptr_t>(key.virtualKey), lParam, keyCodes, system, port);
  }
  std::vector<Sent> FeedAll(std::initializer_list<Key> keys, bool keyCodes = true) {
    port.sent.clear();
    for (const Key& key : keys) Feed(key, keyCodes);
    return port.sent;
  }
  void Hotkey(std::uint32_t modifiers, int vk) {
    const std::uint32_t lParam = delivery.HandleHotkey(modifiers | static_cast<std::uint32_t>(vk) << 16, system);
    delivery.HandleKeyMessage(static_cast<std::uintptr_t>(vk), lParam, true, system, port);
  }
};

TEST_F(DeliveryTest, CtrlC) {
  EXPECT_EQ(FeedAll({Down(0x11, 0x1D), Down(0x43, 0x2E), Up(0x43, 0x2E), Up(0x11, 0x1D)}),
            (std::vector<Sent>{{"Ctrl", 0}, {"Ctrl", -1}, {"Ctrl+C", 0}, {"Ctrl+C", -1}, {"Ctrl", 0}, {"Ctrl", -1}}));
  EXPECT_STREQ(eventText, "");
  EXPECT_EQ(delivery.repeatCounter(), -1);
  EXPECT_EQ(delivery.heldModifiers(), 0u);
}

TEST_F(DeliveryTest, ShiftJoinsAndLeavesAHeldKey) {
  EXPECT_EQ(FeedAll({Down(0x41, 0x1E), Down(kShift[0], kShift[1]), Up(kShift[0], kShift[1]), Up(0x41, 0x1E)}),
            (std::vector<Sent>{{"A", 0}, {"A", -1}, {"Shift+A", 0}, {"Shift+A", -1}, {"A", 0}, {"A", -1}}));
}

TEST_F(DeliveryTest, AutoRepeatsCountAndReleaseOnce) {
  EXPECT_EQ(
      FeedAll({Down(0x41, 0x1E), Down(0x41, 0x1E), Down(0x41, 0x1E), Down(0x41, 0x1E), Up(0x41, 0x1E), Up(0x41, 0x1E)}),
      (std::vector<Sent>{{"A", 0}, {"A", 1}, {"A", 2}, {"A", 3}, {"A", -1}}));
  // A held modifier repeats the same way.
  EXPECT_EQ(FeedAll({Down(kCtrl[0], kCtrl[1]), Down(kCtrl[0], kCtrl[1]), Up(kCtrl[0], kCtrl[1])}),
            (std::vector<Sent>{{"Ctrl", 0}, {"Ctrl", 1}, {"Ctrl", -1}}));
}

TEST_F(DeliveryTest, AnyReleaseForgetsTheWindowsKeys) {
  EXPECT_EQ(FeedAll({Down(kLeftWin[0], kLeftWin[1]), Down(0x45, 0x12), Up(0x45, 0x12), Down(0x45, 0x12)}),
            (std::vector<Sent>{
                {"Left Windows", 0}, {"Left Windows", -1}, {"Left Windows+E", 0}, {"Left Windows+E", -1}, {"E", 0}}));
  // Other modifiers stay held across a release.
  EXPECT_EQ(FeedAll({Up(0x45, 0x12), Down(kCtrl[0], kCtrl[1]), Down(0x41, 0x1E), Up(0x41, 0x1E), Down(0x42, 0x30)}),
            (std::vector<Sent>{{"E", -1},
                               {"Ctrl", 0},
                               {"Ctrl", -1},
                               {"Ctrl+A", 0},
                               {"Ctrl+A", -1},
                               {"Ctrl", 0},
                               {"Ctrl", -1},
                               {"Ctrl+B", 0}}));
}

TEST_F(DeliveryTest, KeyCodesConvertOnlyInHookMode) {
  // Hook mode: key code 0x45 is Pause, 0x145 Num Lock, 0x147 Home.
  EXPECT_EQ(FeedAll({Down(0x13, 0x45), Up(0x13, 0x45), Down(0x90, 0x145), Up(0x90, 0x145), Down(0x24, 0x147)}),
            (std::vector<Sent>{{"Pause", 0}, {"Pause", -1}, {"Num Lock", 0}, {"Num Lock", -1}, {"Home", 0}}));
  FeedAll({Up(0x24, 0x147)});
  // DirectInput mode: table codes as they come, no virtual key.
  EXPECT_EQ(FeedAll({Down(0, 0x45), Up(0, 0x45), Down(0, 0xC5), Up(0, 0xC5), Down(0, 0x47), Down(0, 0x9D)}, false),
            (std::vector<Sent>{{"Num Lock", 0},
                               {"Num Lock", -1},
                               {"Pause", 0},
                               {"Pause", -1},
                               {"Num 7", 0},
                               {"Num 7", -1},
                               {"Right Ctrl+Num 7", 0}}));
}

TEST_F(DeliveryTest, VisibleWindowShowsInsteadOfSending) {
  port.visible = true;
  EXPECT_TRUE(FeedAll({Down(0x41, 0x1E), Down(0x41, 0x1E), Down(0x41, 0x1E), Down(kShift[0], kShift[1]),
                       Up(kShift[0], kShift[1]), Up(0x41, 0x1E)})
                  .empty());
  EXPECT_EQ(port.keysPanel, (std::vector<std::string>{"A", "Shift+A", "A", ""}));
  EXPECT_EQ(port.countLabel, (std::vector<std::string>{"Pressed", "Repeat=1", "Repeat=2", "Pressed", "Pressed", ""}));
  EXPECT_STREQ(eventText, "");
}

TEST_F(DeliveryTest, HotkeysRepeatWithoutRelease) {
  Hotkey(0x2, 'Q');
  Hotkey(0x2, 'Q');
  Hotkey(0x2, 'Q');
  EXPECT_EQ(port.sent, (std::vector<Sent>{{"Ctrl+Q", 0}, {"Ctrl+Q", 1}, {"Ctrl+Q", 2}}));
  port.sent.clear();
  Hotkey(0x8, 'E');
  EXPECT_EQ(port.sent, (std::vector<Sent>{{"Ctrl+Q", -1}, {"Left Windows+E", 0}}));
  port.sent.clear();
  Hotkey(0x1 | 0x4, 'Z');
  EXPECT_EQ(port.sent, (std::vector<Sent>{{"Left Windows+E", -1}, {"Alt+Shift+Z", 0}}));
}

TEST_F(DeliveryTest, HotkeyKeyMessageLayout) {
  system.mappings[{0x2E, 0}] = 0x53;
  system.mappings[{'Q', 0}] = 0x10;
  EXPECT_EQ(delivery.HandleHotkey(0x2 | 'Q' << 16, system), 0x00100001u);
  EXPECT_EQ(delivery.heldModifiers(), ModifierBit(kRowCtrl));
  EXPECT_EQ(delivery.HandleHotkey(0x1 | 0x4 | 0x8 | 0x2E << 16, system), 0x21530001u);
  EXPECT_EQ(delivery.heldModifiers(), ModifierBit(kRowAlt) | ModifierBit(kRowShift) | ModifierBit(kRowLeftWindows));
}

TEST_F(DeliveryTest, HotkeyOfAnExtendedKeyInBothModes) {
  system.mappings[{0x2E, 0}] = 0x53;
  system.names[0x1530000] = "Num Del";
  std::uint32_t lParam = delivery.HandleHotkey(0x2E << 16, system);
  delivery.HandleKeyMessage(0x2E, lParam, true, system, port);
  EXPECT_EQ(port.sent.back(), (Sent{"Delete", 0}));
  // DirectInput mode takes the key code as a table code; the system names it.
  lParam = delivery.HandleHotkey(0x2E << 16, system);
  delivery.HandleKeyMessage(0x2E, lParam, false, system, port);
  EXPECT_EQ(port.sent.back(), (Sent{"Num Del", 0}));
}

TEST_F(DeliveryTest, OverlongNamesAreCutAndStillRepeat) {
  system.names[0x590000] = std::string(200, 'k');
  const Key key = Down(0, 0x59);
  FeedAll({Down(0xA3, 0x11D)});
  FeedAll({Down(0x12, 0x38), Down(0xA5, 0x138), Down(0x10, 0x2A), Down(0xA1, 0x36), Down(0xA1, 0x136),
           Down(0x5C, 0x15C), Down(kCtrl[0], kCtrl[1]), Down(kLeftWin[0], kLeftWin[1])});
  std::vector<Sent> sent = FeedAll({key, key, key}, false);
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[1].name.size(), 123u);
  EXPECT_EQ(sent[1].state, 0);
  EXPECT_EQ(sent[2], (Sent{sent[1].name, 1}));
  EXPECT_EQ(sent[3], (Sent{sent[1].name, 2}));
  EXPECT_EQ(eventText[123], '\0');
}

TEST_F(DeliveryTest, ReleaseOfANameNotHeldSendsNothing) {
  EXPECT_TRUE(FeedAll({Up(0x41, 0x1E), Up(kCtrl[0], kCtrl[1]), Up(0, 0)}).empty());
  EXPECT_EQ(delivery.lastKeyValue(), kNoKey);
}

}  // namespace
}  // namespace keyboard
