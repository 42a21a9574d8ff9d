#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "keyboard_settings.h"

namespace keyboard {
namespace {

TEST(SettingInteger, DecimalAndHexadecimalOnly) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"1", 1},
      {"010", 10},
      {"-1", -1},
      {"+7", 7},
      {"0x10", 16},
      {"0X1f", 31},
      {"0xFFFFFFFF", -1},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"2147483648", {}},
      {"0x100000000", {}},
      {"", {}},
      {"0x", {}},
      {"x10", {}},
      {"1 ", {}},
      {" 1", {}},
      {"true", {}},
      {"1.5", {}},
      {"--1", {}},
      {"-", {}},
      {"0x-1", {}},
      {"99999999999999999999", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSettingInteger(c.text), c.value) << '"' << c.text << '"';
}

class MapSource : public SettingsSource {
 public:
  std::map<std::string, std::string> values;  // "Section/Key" -> text
  std::vector<std::string> asked;
  std::optional<std::string> ReadText(std::string_view section, std::string_view key) override {
    const std::string path = std::string(section) + "/" + std::string(key);
    asked.push_back(path);
    const auto found = values.find(path);
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
};

TEST(Settings, MissingKeysGiveDefaultsInFileOrder) {
  MapSource source;
  std::vector<std::string> seen;
  const KeyboardSettings settings =
      ReadSettings(source, [&](std::string_view key, const KeyboardSettings&) { seen.emplace_back(key); });
  EXPECT_EQ(settings.english, "Alt+Shift");
  EXPECT_EQ(settings.international, "Alt+Shift");
  EXPECT_TRUE(settings.win9xMode);
  EXPECT_TRUE(settings.useDirectInput);
  EXPECT_FALSE(settings.useLLHook);
  EXPECT_FALSE(settings.mediaDisable);
  EXPECT_EQ(source.asked, (std::vector<std::string>{"Layout/English", "Layout/International", "Setup/Win9xMode",
                                                    "Setup/UseDirectInput", "Setup/UseLLHook", "Setup/MediaDisable"}));
  EXPECT_EQ(seen, (std::vector<std::string>{"English", "International", "Win9xMode", "UseDirectInput", "UseLLHook",
                                            "MediaDisable"}));
}

TEST(Settings, TruthValuesAndGarbage) {
  MapSource source;
  source.values = {{"Layout/English", "Ctrl+Shift"}, {"Layout/International", ""}, {"Setup/Win9xMode", "0"},
                   {"Setup/UseDirectInput", "0x0"},  {"Setup/UseLLHook", "0x10"},  {"Setup/MediaDisable", "-3"}};
  KeyboardSettings settings = ReadSettings(source, nullptr);
  EXPECT_EQ(settings.english, "Ctrl+Shift");
  EXPECT_EQ(settings.international, "");  // an empty value is a value
  EXPECT_FALSE(settings.win9xMode);
  EXPECT_FALSE(settings.useDirectInput);
  EXPECT_TRUE(settings.useLLHook);
  EXPECT_TRUE(settings.mediaDisable);

  source.values = {{"Setup/Win9xMode", "yes"},
                   {"Setup/UseDirectInput", ""},
                   {"Setup/UseLLHook", "1e3"},
                   {"Setup/MediaDisable", std::string(5000, '1')}};
  settings = ReadSettings(source, nullptr);
  EXPECT_TRUE(settings.win9xMode);
  EXPECT_TRUE(settings.useDirectInput);
  EXPECT_FALSE(settings.useLLHook);
  EXPECT_FALSE(settings.mediaDisable);
}

TEST(Settings, HookLibraryLearnsEachSettingWhenRead) {
  MapSource source;
  source.values = {{"Setup/UseLLHook", "1"}, {"Setup/MediaDisable", "1"}};
  std::vector<std::string> calls;
  ReadSettings(source, [&](std::string_view key, const KeyboardSettings& s) {
    if (key == "UseLLHook")
      calls.push_back("ll=" + std::to_string(s.useLLHook) + " media=" + std::to_string(s.mediaDisable));
  });
  EXPECT_EQ(calls, std::vector<std::string>{"ll=1 media=0"});
}

class RecordingSink : public SettingsSink {
 public:
  std::vector<std::string> lines;
  void WriteText(std::string_view section, std::string_view key, std::string_view value) override {
    lines.push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
  }
};

TEST(Settings, WritesAllSixKeysInFileOrderAndReadsThemBack) {
  KeyboardSettings settings;
  RecordingSink sink;
  WriteSettings(settings, sink);
  EXPECT_EQ(sink.lines,
            (std::vector<std::string>{"Layout/English=Alt+Shift", "Layout/International=Alt+Shift", "Setup/Win9xMode=1",
                                      "Setup/UseDirectInput=1", "Setup/UseLLHook=0", "Setup/MediaDisable=0"}));

  settings = {"Ctrl+Shift", "", false, false, true, true};
  sink.lines.clear();
  WriteSettings(settings, sink);
  MapSource source;
  for (const std::string& line : sink.lines) {
    const std::size_t equals = line.find('=');
    source.values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  const KeyboardSettings read = ReadSettings(source, nullptr);
  EXPECT_EQ(read.english, "Ctrl+Shift");
  EXPECT_EQ(read.international, "");
  EXPECT_FALSE(read.win9xMode);
  EXPECT_FALSE(read.useDirectInput);
  EXPECT_TRUE(read.useLLHook);
  EXPECT_TRUE(read.mediaDisable);
}

}  // namespace
}  // namespace keyboard
