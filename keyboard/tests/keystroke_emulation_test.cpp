#include "keystroke_emulation.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "contract/action_params.h"
#include "host_block.h"
#include "recording_input_port.h"

namespace keyboard {
namespace {

using contract::ActionParams;
using testing::HostBlock;
using testing::HostValues;
using testing::kEnglishLayout;
using testing::kRussianLayout;
using testing::RecordingInputPort;
using Calls = std::vector<std::string>;

class Emulation : public ::testing::Test {
 protected:
  int run(HostValues values) {
    const HostBlock block(values);
    return emulator.ExecuteCommand(&block.params);
  }

  RecordingInputPort port;
  KeyboardSettings settings;
  KeystrokeEmulator emulator{port, settings};
};

// "kbd"/"input" lines of the recording port.
std::string Kbd(unsigned vk, unsigned scan, unsigned flags) { return RecordingInputPort::Line("kbd", vk, scan, flags); }
std::string Input(unsigned vk, unsigned scan, unsigned flags) {
  return RecordingInputPort::Line("input", vk, scan, flags);
}

TEST(SplitCombination, SplitsAtPlusSignsThatEndAName) {
  struct Case {
    std::string text;
    std::size_t limit;
    std::vector<std::string> parts;
  };
  const Case cases[] = {
      {"Ctrl+Alt+Delete", 4, {"Ctrl", "Alt", "Delete"}},
      {"Num +", 4, {"Num +"}},
      {"+", 4, {"+"}},
      {"Ctrl++", 4, {"Ctrl", "+"}},
      {"Ctrl + A", 4, {"Ctrl + A"}},
      {"++A", 4, {"++A"}},
      {"Ctrl+", 4, {"Ctrl"}},
      {"", 4, {""}},
      {"A+B+C+D+E", 4, {"A", "B", "C", "D"}},
      {"A+B+C+D+E", kNoPartLimit, {"A", "B", "C", "D", "E"}},
      {"A+B+C", 1, {"A"}},
      {std::string(126, 'x') + "+Y", 4, {std::string(126, 'x')}},  // "Y" is the 128th character
      {std::string(125, 'x') + "+Y", 4, {std::string(125, 'x'), "Y"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCombination(c.text, c.limit), c.parts) << c.text;
}

TEST_F(Emulation, CommandWordsAndBlockChecks) {
  struct Case {
    const char* what;
    int result;
    HostValues values;
  };
  const Case cases[] = {
      {"lower case", 1, {"press", "A"}},
      {"mixed case", 1, {"Press", "A"}},
      {"a longer word", 0, {"PRESSX", "A"}},
      {"no argument", 0, {"PRESS"}},
      {"number argument", 0, {"PRESS", 65}},
      {"number word", 0, {7, "A"}},
      {"ignores the rest", 1, {"PRESS", "A", "B", 4}},
      {"no block", 0, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(run(c.values), c.result) << c.what;

  EXPECT_EQ(emulator.ExecuteCommand(nullptr), 0);
  HostBlock nullText({"PRESS", "A"});
  nullText.params.value[1] = 0;
  EXPECT_EQ(emulator.ExecuteCommand(&nullText.params), 0);
  HostBlock nullWord({"PRESS", "A"});
  nullWord.params.value[0] = 0;
  EXPECT_EQ(emulator.ExecuteCommand(&nullWord.params), 0);
  for (const std::int32_t count : {-1, 0, 1, INT_MIN}) {
    HostBlock block({"PRESS", "A"});
    block.params.count = count;
    EXPECT_EQ(emulator.ExecuteCommand(&block.params), 0) << count;
  }
  HostBlock huge({"PRESS", "A", "", ""});
  huge.params.count = INT_MAX;  // reads no slot beyond the fourth
  EXPECT_EQ(emulator.ExecuteCommand(&huge.params), 1);
  EXPECT_FALSE(port.anyKeyHeld());
}

TEST_F(Emulation, PressCtrlAltDeleteInBothModes) {
  ASSERT_TRUE(settings.win9xMode);
  EXPECT_EQ(run({"PRESS", "Ctrl+Alt+Delete"}), 1);
  EXPECT_EQ(port.calls, (Calls{Kbd(0x11, 0x1D, 0), Kbd(0x12, 0x38, 0), Kbd(0x2E, 0x53, 1), Kbd(0x2E, 0x53, 3),
                               Kbd(0x12, 0x38, 2), Kbd(0x11, 0x1D, 2)}));

  port.forget();
  settings.win9xMode = false;
  EXPECT_EQ(run({"PRESS", "ctrl+alt+delete"}), 1);
  EXPECT_EQ(port.calls, (Calls{Input(0, 0x1D, 8), Input(0, 0x38, 8), Input(0, 0x53, 9), Input(0, 0x53, 0xB),
                               Input(0, 0x38, 0xA), Input(0, 0x1D, 0xA)}));
}

TEST_F(Emulation, PressSplitsAndLooksUpNames) {
  settings.win9xMode = false;
  struct Case {
    std::string combination;
    int result;
    Calls calls;
  };
  const Case cases[] = {
      {"Ctrl++", 1, {Input(0, 0x1D, 8), Input(0, 0x4E, 9), Input(0, 0x4E, 0xB), Input(0, 0x1D, 0xA)}},
      {"Num +", 1, {Input(0, 0x4E, 8), Input(0, 0x4E, 0xA)}},
      {"Ctrl + A", 0, {}},
      {"", 0, {}},
      {"Ctrl+Nokey", 0, {}},
      {"Shift+A+B+C+D",
       1,
       {Input(0, 0x2A, 8), Input(0, 0x1E, 8), Input(0, 0x30, 8), Input(0, 0x2E, 8), Input(0, 0x2E, 0xA),
        Input(0, 0x30, 0xA), Input(0, 0x1E, 0xA), Input(0, 0x2A, 0xA)}},
      {"Right Shift+Windows", 1, {Input(0, 0x36, 8), Input(0, 0x5B, 9), Input(0, 0x5B, 0xB), Input(0, 0x36, 0xA)}},
  };
  for (const Case& c : cases) {
    port.forget();
    EXPECT_EQ(run({"PRESS", c.combination}), c.result) << c.combination;
    EXPECT_EQ(port.calls, c.calls) << c.combination;
  }
}

TEST_F(Emulation, PressReleasesHeldKeysFirstEvenWhenANameIsUnknown) {
  port.hold(0x10);  // Shift
  port.hold(0x41);  // A
  EXPECT_EQ(run({"PRESS", "Ctrl+Nokey"}), 0);
  EXPECT_EQ(port.calls, (Calls{Kbd(0x10, 0x2A, 2), Kbd(0x41, 0x1E, 2)}));
  EXPECT_FALSE(port.anyKeyHeld());

  port.forget();
  settings.win9xMode = false;
  port.hold(0xA3);  // right Ctrl: its own virtual key, extended
  EXPECT_EQ(run({"PRESS", "X"}), 1);
  EXPECT_EQ(port.calls, (Calls{Input(0xA3, 0x00, 3), Input(0, 0x2D, 8), Input(0, 0x2D, 0xA)}));
}

TEST_F(Emulation, KeyDownAndKeyUpSendOneWholeName) {
  EXPECT_EQ(run({"KEYDOWN", "Ctrl+A"}), 0);
  EXPECT_EQ(run({"KEYDOWN", "Shift"}), 1);
  EXPECT_TRUE(port.KeyState(0x10) < 0);
  EXPECT_EQ(run({"KEYDOWN", "num 7"}), 1);  // held keys stay held
  EXPECT_EQ(run({"KEYUP", "Shift"}), 1);
  EXPECT_EQ(run({"KEYUP", "Num 7"}), 1);
  // Legacy mode sends the keypad's virtual key (Home), which the extended-key rule marks extended.
  EXPECT_EQ(port.calls, (Calls{Kbd(0x10, 0x2A, 0), Kbd(0x24, 0x47, 1), Kbd(0x10, 0x2A, 2), Kbd(0x24, 0x47, 3)}));
  EXPECT_FALSE(port.anyKeyHeld());
}

TEST_F(Emulation, PauseTravelsWithVirtualKey19InBothModes) {
  EXPECT_EQ(run({"KEYDOWN", "Pause"}), 1);
  settings.win9xMode = false;
  EXPECT_EQ(run({"KEYUP", "Pause"}), 1);
  EXPECT_EQ(port.calls, (Calls{Kbd(0x13, 0x45, 1), Input(0x13, 0x45, 3)}));
}

TEST_F(Emulation, WmPressAltF4PostsSystemKeyMessages) {
  EXPECT_EQ(run({"WM_PRESS", "Alt+F4", 0x1234}), 1);
  EXPECT_EQ(port.calls, (Calls{"post 1234 0007 00 00000000", "post 1234 0104 12 20380001", "post 1234 0104 73 203E0001",
                               "post 1234 0105 73 E03E0001", "post 1234 0101 12 C0380001"}));
}

TEST_F(Emulation, WmPressSendsCtrlAndShiftThroughTheInput) {
  settings.win9xMode = false;
  EXPECT_EQ(run({"WM_PRESS", "Ctrl+Alt+Delete", 77}), 1);
  EXPECT_EQ(port.calls, (Calls{"post 4D 0007 00 00000000", Input(0, 0x1D, 8), "post 4D 0100 12 20380001",
                               "post 4D 0100 2E 21530001", "post 4D 0101 2E E1530001", "post 4D 0101 12 C0380001",
                               Input(0, 0x1D, 0xA)}));
}

TEST_F(Emulation, MessageCommandsNeedANumberedWindowAndKnownNames) {
  EXPECT_EQ(run({"WM_KEYDOWN", "Delete", 5}), 1);
  EXPECT_EQ(run({"WM_KEYUP", "A", -2}), 1);  // a window handle is passed on as given
  EXPECT_EQ(port.calls, (Calls{"post 5 0100 2E 01530001", "post FFFFFFFFFFFFFFFE 0101 41 C01E0001"}));

  port.forget();
  struct Case {
    const char* what;
    HostValues values;
  };
  const Case failures[] = {
      {"no window", {"WM_KEYDOWN", "A"}},
      {"text window", {"WM_KEYDOWN", "A", "5"}},
      {"press without window", {"WM_PRESS", "A"}},
      {"press text window", {"WM_PRESS", "A", "5"}},
      {"unknown key", {"WM_KEYUP", "Nokey", 5}},
      {"whole name", {"WM_KEYUP", "Ctrl+A", 5}},
      {"unknown in combination", {"WM_PRESS", "Ctrl+Nokey", 5}},
  };
  for (const Case& c : failures) EXPECT_EQ(run(c.values), 0) << c.what;
  EXPECT_TRUE(port.calls.empty());
}

TEST_F(Emulation, TypeOnAnotherLayoutSwitchesToEnglishAndBack) {
  port.layout = kRussianLayout;
  settings.win9xMode = false;
  EXPECT_EQ(run({"TYPE", "Hi"}), 1);
  const Calls altShift = {Input(0, 0x38, 8), Input(0, 0x2A, 8), Input(0, 0x2A, 0xA), Input(0, 0x38, 0xA), "sleep 100"};
  Calls expected = altShift;  // "LAYOUT" "ENGLISH"
  expected.insert(expected.end(), {Input(0, 0x2A, 8), Input(0, 0x23, 8), Input(0, 0x23, 0xA),
                                   Input(0, 0x2A, 0xA)});                     // "PRESS" "Shift+H"
  expected.insert(expected.end(), {Input(0, 0x17, 8), Input(0, 0x17, 0xA)});  // "PRESS" "I"
  expected.insert(expected.end(), altShift.begin(), altShift.end());          // "LAYOUT" "INTERNATIONAL"
  EXPECT_EQ(port.calls, expected);
  EXPECT_EQ(port.layout, kRussianLayout);
}

TEST_F(Emulation, TypeSwitchesCapsLockOffAndTypesUsPunctuation) {
  port.toggleOn(0x14);
  EXPECT_EQ(run({"TYPE", "a!"}), 1);
  EXPECT_EQ(port.calls, (Calls{Kbd(0x14, 0x3A, 0), Kbd(0x14, 0x3A, 2), Kbd(0x41, 0x1E, 0), Kbd(0x41, 0x1E, 2),
                               Kbd(0x10, 0x2A, 0), Kbd(0x31, 0x02, 0), Kbd(0x31, 0x02, 2), Kbd(0x10, 0x2A, 2)}));
  EXPECT_EQ(port.KeyState(0x14) & 1, 0);

  port.forget();
  EXPECT_EQ(run({"TYPE", ""}), 1);  // English already and Caps Lock off: nothing at all
  EXPECT_TRUE(port.calls.empty());
}

TEST_F(Emulation, TypeUsesTheAltCodeForACharacterWithoutAKey) {
  const char eAcute = static_cast<char>(0xE9);
  port.oemCodes[0xE9] = 130;
  port.hold(0x11);  // released before Alt goes down
  settings.win9xMode = false;
  EXPECT_EQ(run({"TYPE", std::string(1, eAcute)}), 1);
  EXPECT_EQ(port.calls, (Calls{Input(0x11, 0x1D, 2), Input(0, 0x38, 8), Input(0x31, 0x4F, 0), Input(0x31, 0x4F, 2),
                               Input(0x33, 0x51, 0), Input(0x33, 0x51, 2), Input(0x30, 0x52, 0), Input(0x30, 0x52, 2),
                               Input(0, 0x38, 0xA)}));
  EXPECT_FALSE(port.anyKeyHeld());
}

TEST_F(Emulation, TypeStopsAtACharacterItCannotPressAndStillSwitchesBack) {
  // A key without a scan code, for which the system has no name either.
  port.keyScan[0x7F] = 0x00E7;
  port.layout = kRussianLayout;
  EXPECT_EQ(run({"TYPE", std::string("a\x7F") + "b"}), 0);
  const Calls altShift = {Kbd(0x12, 0x38, 0), Kbd(0x10, 0x2A, 0), Kbd(0x10, 0x2A, 2), Kbd(0x12, 0x38, 2), "sleep 100"};
  Calls expected = altShift;
  expected.insert(expected.end(), {Kbd(0x41, 0x1E, 0), Kbd(0x41, 0x1E, 2)});
  expected.insert(expected.end(), altShift.begin(), altShift.end());
  EXPECT_EQ(port.calls, expected);
}

TEST_F(Emulation, TypeNamesAKeyByTheSystemWhenTheTableHasNoName) {
  port.keyScan[0x01] = 0x01E7;  // Shift and a key whose scan code (0) the table does not name
  port.keyNames[0] = "Space";
  EXPECT_EQ(run({"TYPE", "`\x01"}), 1);
  // The grave accent's key: virtual key 0xC0 falls under the extended-key rule (166 and above).
  EXPECT_EQ(port.calls, (Calls{Kbd(0xC0, 0x29, 1), Kbd(0xC0, 0x29, 3), Kbd(0x10, 0x2A, 0), Kbd(0x20, 0x39, 0),
                               Kbd(0x20, 0x39, 2), Kbd(0x10, 0x2A, 2)}));
}

TEST_F(Emulation, LockKeysToggleOnlyWhenNeeded) {
  port.toggleOn(0x14);
  EXPECT_EQ(run({"ON", "caps lock"}), 1);
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(run({"ON", "CAPSLOCK"}), 0);
  EXPECT_EQ(run({"ON", "Num Lock"}), 1);
  EXPECT_EQ(run({"OFF", "CAPS LOCK"}), 1);
  EXPECT_EQ(run({"OFF", "scroll lock"}), 1);
  EXPECT_EQ(port.calls, (Calls{Kbd(0x90, 0x45, 1), Kbd(0x90, 0x45, 3), Kbd(0x14, 0x3A, 0), Kbd(0x14, 0x3A, 2)}));
  EXPECT_EQ(port.KeyState(0x90) & 1, 1);
  EXPECT_EQ(port.KeyState(0x14) & 1, 0);

  port.forget();
  port.hold(0x41);
  EXPECT_EQ(run({"OFF", "Shift Lock"}), 0);  // held keys go even for an unknown lock
  EXPECT_EQ(port.calls, (Calls{Kbd(0x41, 0x1E, 2)}));
}

TEST_F(Emulation, LayoutPressesTheHotkeyOnlyWhenTheLayoutDiffers) {
  EXPECT_EQ(run({"LAYOUT", "english"}), 1);
  EXPECT_EQ(run({"LAYOUT", "US-English (101)"}), 1);
  port.layout = 0xF0C00809;  // UK English with its own layout id: only the low byte counts
  EXPECT_TRUE(emulator.IsEnglishLayout());
  EXPECT_EQ(run({"LAYOUT", "ENGLISH"}), 1);
  EXPECT_TRUE(port.calls.empty());  // no pause either
  port.layout = 0x04090419;         // Russian with a US keyboard
  EXPECT_FALSE(emulator.IsEnglishLayout());
  port.layout = kEnglishLayout;

  settings.international = "Ctrl+Shift";
  EXPECT_EQ(run({"LAYOUT", "Russian"}), 1);
  EXPECT_EQ(port.calls,
            (Calls{Kbd(0x11, 0x1D, 0), Kbd(0x10, 0x2A, 0), Kbd(0x10, 0x2A, 2), Kbd(0x11, 0x1D, 2), "sleep 100"}));

  for (const std::string hotkey : {"", "Nokey"}) {
    port.forget();
    settings.international = hotkey;
    EXPECT_EQ(run({"LAYOUT", "International"}), 0) << hotkey;
    EXPECT_EQ(port.calls, Calls{"sleep 100"}) << hotkey;
  }

  port.forget();
  port.layout = kRussianLayout;
  EXPECT_EQ(run({"LAYOUT", "ENGLISH"}), 1);  // default hotkey Alt+Shift toggles back
  EXPECT_EQ(port.layout, kEnglishLayout);
}

TEST_F(Emulation, SubCommandsLeaveTheCallersTextsAlone) {
  std::string word = "press";
  std::string argument = "A";
  EXPECT_EQ(emulator.ExecuteSubCommand(word, argument), 1);
  EXPECT_EQ(emulator.ExecuteSubCommand("TYPE", std::string_view("ab", 1)), 1);  // not NUL-terminated
  EXPECT_EQ(word, "press");
  EXPECT_EQ(port.calls, (Calls{Kbd(0x41, 0x1E, 0), Kbd(0x41, 0x1E, 2), Kbd(0x41, 0x1E, 0), Kbd(0x41, 0x1E, 2)}));
}

TEST_F(Emulation, OverlongAndOddTextsFailOrWorkWithoutLeavingKeysDown) {
  const std::string longCombination = "Ctrl+" + std::string(10000, 'A');
  const std::string longTyped(10000, 'q');
  std::string highBytes;
  for (int c = 128; c < 256; ++c) highBytes += static_cast<char>(c);
  struct Case {
    std::string word;
    std::string text;
    int result;
  };
  const Case cases[] = {
      {"PRESS", longCombination, 0},    {"PRESS", std::string(10000, '+'), 0},
      {"WM_PRESS", longCombination, 0}, {"KEYDOWN", longCombination, 0},
      {"TYPE", longTyped, 1},           {"TYPE", highBytes, 1},
      {"LAYOUT", longTyped, 1},         {"ON", longTyped, 0},
  };
  for (const Case& c : cases) {
    port.forget();
    EXPECT_EQ(run({c.word, c.text, 9}), c.result) << c.word;
    EXPECT_FALSE(port.anyKeyHeld()) << c.word;
  }
  EXPECT_EQ(port.calls.size(), 0u);  // "ON" with an unknown lock sends nothing
}

TEST(InvalidParamsReport, KeyboardReportTexts) {
  const auto report = [](const ActionParams* params) {
    char out[contract::kReportMaxLength + 1];
    const std::size_t length = contract::FormatInvalidParamsReport(params, "Keyboard", out);
    return std::string(out, length);
  };
  const HostBlock empty({});
  EXPECT_EQ(report(&empty.params), "Invalid params: Keyboard.ActionManual()");
  const HostBlock numbers({"HOLD", "Q", 31, -1});
  EXPECT_EQ(report(&numbers.params), "Invalid params: Keyboard.ActionManual(\"HOLD\",\"Q\",0x1F,0xFFFFFFFF)");
  const HostBlock zero({"PRESS", 0});
  EXPECT_EQ(report(&zero.params), "Invalid params: Keyboard.ActionManual(\"PRESS\",0x0)");
  const HostBlock longWord({std::string(300, 'W'), "A"});
  const std::string text = report(&longWord.params);
  EXPECT_EQ(text.size(), 255u);
  EXPECT_EQ(text, "Invalid params: Keyboard.ActionManual(\"" + std::string(255 - 39, 'W'));
}

}  // namespace
}  // namespace keyboard
