// Keyboard.dll under Wine: hotkey watches registered through StartManual, pressed through
// SendInput (which fires hotkeys without any focus), withdrawn by StopManual and Close.
#include <random>
#include <set>

#include "host_block.h"
#include "keyboard_fixture.h"
#include "setup_form_controls.h"

namespace keyboard_tests {
namespace {

using keyboard::testing::HostBlock;
using keyboard::testing::HostValues;
using keyboard::win::Control;
using keyboard::win::ControlId;

class HotkeysTest : public KeyboardTest {
 protected:
  void watch(HostValues values) {
    const HostBlock block(values);
    startManual(&block.params);
  }
  void unwatch(HostValues values) {
    const HostBlock block(values);
    stopManual(&block.params);
  }
  // The "Registered hotkeys" list: texts and ids in order.
  std::vector<std::pair<std::string, LPARAM>> registered() const {
    const HWND list = GetDlgItem(formWindow(), ControlId(Control::RegList));
    std::vector<std::pair<std::string, LPARAM>> items;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::string text(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
      text.resize(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
      items.emplace_back(text, SendMessageA(list, LB_GETITEMDATA, i, 0));
    }
    return items;
  }
  // Whether the form holds a hotkey under this id (the probe withdraws it).
  static bool takeHotkey(int id) { return UnregisterHotKey(formWindow(), id) != FALSE; }

  static void press(std::initializer_list<WORD> keys) {
    for (WORD key : keys) InjectKey(key, static_cast<WORD>(MapVirtualKeyA(key, 0)), false);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
      InjectKey(*key, static_cast<WORD>(MapVirtualKeyA(*key, 0)), true);
    }
  }
};

TEST_F(HotkeysTest, APressedHotkeyRepeatsUnderThePluginsSpellingWithoutRelease) {
  openWith(nullptr);  // monitoring stays off
  watch({"alt+ctrl+q"});
  watch({"Windows+E"});
  EXPECT_EQ(registered(), (std::vector<std::pair<std::string, LPARAM>>{{"alt+ctrl+q", 0}, {"Windows+E", 1}}));
  for (int i = 0; i < 3; ++i) {
    press({VK_CONTROL, VK_MENU, 'Q'});
    host.pumpUntil([&] { return host.events().size() > static_cast<std::size_t>(i); }, 3000);
  }
  EXPECT_EQ(waitForEvents(3), (std::vector<Event>{{"Ctrl+Alt+Q", 0}, {"Ctrl+Alt+Q", 1}, {"Ctrl+Alt+Q", 2}}));
  host.clear();
  press({VK_LWIN, 'E'});
  EXPECT_EQ(waitForEvents(2), (std::vector<Event>{{"Ctrl+Alt+Q", -1}, {"Left Windows+E", 0}}));
  host.clear();
  press({'Q'});  // not watched
  host.pumpFor(200);
  EXPECT_TRUE(host.events().empty());

  unwatch({"ALT+CTRL+Q"});
  press({VK_CONTROL, VK_MENU, 'Q'});
  host.pumpFor(200);
  EXPECT_TRUE(host.events().empty()) << "withdrawn";
  EXPECT_EQ(registered(), (std::vector<std::pair<std::string, LPARAM>>{{"Windows+E", 1}}));
}

TEST_F(HotkeysTest, IdsFollowTheLastItemAndTheSystemRefusesATakenPair) {
  openWith(nullptr);
  watch({"Ctrl+Alt+F1"});
  watch({"ctrl+alt+f1"});  // the same text: not asked again
  watch({"Alt+Ctrl+F1"});  // the same pair: refused by the system
  watch({"Ctrl+Nokey"});
  EXPECT_EQ(registered(), (std::vector<std::pair<std::string, LPARAM>>{{"Ctrl+Alt+F1", 0}}));
  watch({"F2"});
  watch({"F3"});
  unwatch({"F2"});
  watch({"F4"});
  unwatch({"F4"});
  watch({"F5"});
  EXPECT_EQ(registered(), (std::vector<std::pair<std::string, LPARAM>>{{"Ctrl+Alt+F1", 0}, {"F3", 2}, {"F5", 3}}));
  EXPECT_FALSE(takeHotkey(1));
  EXPECT_FALSE(takeHotkey(4));
  EXPECT_TRUE(takeHotkey(3)) << "F5 holds id 3 with the system";
}

TEST_F(HotkeysTest, CloseWithdrawsEveryHotkeyAndLaterCallsDoNothing) {
  openWith(nullptr);
  watch({"Ctrl+Alt+F1"});
  watch({"Shift+Right Shift+F6"});
  close();
  EXPECT_TRUE(RegisterHotKey(host.hwnd(), 1, MOD_CONTROL | MOD_ALT, VK_F1)) << "the pair is free again";
  EXPECT_TRUE(RegisterHotKey(host.hwnd(), 2, MOD_SHIFT, VK_F6));
  UnregisterHotKey(host.hwnd(), 1);
  UnregisterHotKey(host.hwnd(), 2);
  watch({"Ctrl+Alt+F1"});  // after Close: nothing
  unwatch({"Ctrl+Alt+F1"});
  EXPECT_TRUE(RegisterHotKey(host.hwnd(), 1, MOD_CONTROL | MOD_ALT, VK_F1));
  UnregisterHotKey(host.hwnd(), 1);
  host.pumpFor(50);
  EXPECT_TRUE(host.messages().empty());
}

TEST_F(HotkeysTest, BadBlocksAreIgnoredAndLongTextsKeptWhole) {
  openWith(nullptr);
  watch({});
  watch({"Ctrl+F7", "Ctrl+F8"});
  watch({0x76});
  HostBlock nullText({"Ctrl+F7"});
  nullText.params.value[0] = 0;
  startManual(&nullText.params);
  startManual(nullptr);
  stopManual(nullptr);
  EXPECT_TRUE(registered().empty());

  std::string shifts;
  for (int i = 0; i < 21; ++i) shifts += "Shift+";
  watch({"Ctrl+" + std::string(10000, 'x')});
  EXPECT_TRUE(registered().empty()) << "an unknown name, however long";
  const std::string parsable = shifts + "A" + std::string(10000, 'x');
  watch({parsable});
  ASSERT_EQ(registered().size(), 1u);
  EXPECT_EQ(registered()[0].first, parsable);
  unwatch({"Shift+A"});
  EXPECT_EQ(registered().size(), 1u);
  unwatch({parsable, 1});
  EXPECT_EQ(registered().size(), 1u);
  unwatch({parsable});
  EXPECT_TRUE(registered().empty());
  host.pumpFor(50);
  EXPECT_TRUE(host.messages().empty()) << "every outcome is silent";
}

TEST_F(HotkeysTest, RandomRegistrationsMatchTheSystem) {
  openWith(nullptr);
  std::mt19937 random(1211);
  const char* const modifiers[] = {"", "Ctrl+", "Alt+", "Shift+", "Ctrl+Shift+"};
  for (int i = 0; i < 200; ++i) {
    const std::string text =
        std::string(modifiers[random() % std::size(modifiers)]) + "F" + std::to_string(1 + random() % 12);
    if (random() % 3 == 0) {
      unwatch({text});
    } else {
      watch({text});
    }
  }
  const auto items = registered();
  std::set<LPARAM> ids;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(items[i - 1].second, items[i].second);
    }
    ids.insert(items[i].second);
  }
  const LPARAM highest = items.empty() ? 0 : items.back().second;
  for (int id = 0; id <= highest + 1; ++id) EXPECT_EQ(takeHotkey(id), ids.count(id) == 1) << id;
}

}  // namespace
}  // namespace keyboard_tests
