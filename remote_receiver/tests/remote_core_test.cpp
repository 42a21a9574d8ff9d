// The platform-free parts of the remote receiver: code text, code table, the integer rule and the
// settings passes.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <utility>

#include "code_table.h"
#include "ini_integer.h"
#include "reading_slot.h"
#include "remote_binding.h"
#include "remote_settings.h"

namespace sendaro {
namespace {

TEST(CodeText, UpperCaseHexWithAtLeastTwoDigits) {
  const std::pair<std::uint64_t, const char*> cases[] = {
      {0, "00"},
      {5, "05"},
      {12, "0C"},
      {26, "1A"},
      {255, "FF"},
      {291, "123"},
      {4096, "1000"},
      {0xFFFFFFFF, "FFFFFFFF"},
      {~std::uint64_t{0}, "FFFFFFFFFFFFFFFF"},
  };
  for (const auto& [code, text] : cases) {
    char out[kCodeTextSize];
    EXPECT_EQ(FormatCodeText(code, out), std::strlen(text));
    EXPECT_STREQ(out, text) << code;
  }
}

TEST(CodeTable, FindsTheFirstWholeNameWithoutRegardToCase) {
  CodeTable table;
  table.Load({"1a=Power", "0c=Twelve", "C=Never", "001A=Padded", "1A=Second", "  20 = Spaced  ", "noequals",
              "21=", "=Nameless", "22=a=b"});
  const std::pair<const char*, const char*> cases[] = {
      {"1A", "Power"},
      {"0C", "Twelve"},
      {"20", "Spaced"},
      {"22", "a=b"},
  };
  for (const auto& [code, button] : cases) {
    const auto index = table.Find(code);
    ASSERT_TRUE(index) << code;
    EXPECT_EQ(table.at(*index).button, button);
    EXPECT_EQ(table.at(*index).group, 0);
  }
  // Entries keep file order, so the first duplicate is found; lines that name nothing are dropped.
  EXPECT_EQ(table.Find("1A"), 0u);
  EXPECT_EQ(table.size(), 7u);
  for (const char* absent : {"0A", "21", "1A0", "A", ""}) EXPECT_FALSE(table.Find(absent)) << absent;

  table.Load({});
  EXPECT_EQ(table.size(), 0u);
}

TEST(GroupList, HoldsOneGroupAfterEveryReset) {
  GroupList groups;
  EXPECT_EQ(groups.NameAt(0), "");
  groups.Reset();
  groups.Reset();
  EXPECT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups.NameAt(0), "Sendaro Control");
  EXPECT_EQ(groups.NameAt(1), "");
  EXPECT_EQ(groups.NameAt(-1), "");
}

TEST(IniInteger, DecimalOrPrefixedHexOnly) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"50", 50},
      {"  50 ", 50},
      {"-20", -20},
      {"+7", 7},
      {"0", 0},
      {"0x10", 16},
      {"0X1f", 31},
      {"0xFFFFFFFF", -1},
      {"0x80000000", INT32_MIN},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"007", 7},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"0x", std::nullopt},
      {"0x100000000", std::nullopt},
      {"0x1G", std::nullopt},
      {"12abc", std::nullopt},
      {"1 2", std::nullopt},
      {"-", std::nullopt},
      {"$10", std::nullopt},
      {"1.5", std::nullopt},
      {"-0x10", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseIniInteger(text), expected) << '"' << text << '"';
}

// An INI file in memory that counts the passes made over it.
class MemoryFile final : public SettingsFile {
 public:
  std::map<std::string, std::map<std::string, std::string>> sections;
  std::vector<std::string> codeLines;
  std::vector<std::string> writes;

  std::optional<std::string> ReadString(std::string_view section, std::string_view key) override {
    const auto s = sections.find(std::string(section));
    if (s == sections.end()) return std::nullopt;
    const auto k = s->second.find(std::string(key));
    if (k == s->second.end()) return std::nullopt;
    return k->second;
  }
  std::vector<std::string> ReadSection(std::string_view section) override {
    return section == "Codes" ? codeLines : std::vector<std::string>{};
  }
  void WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    writes.push_back(std::string(section) + "." + std::string(key) + "=" + std::string(value));
    sections[std::string(section)][std::string(key)] = std::string(value);
  }
};

struct TimingValues {
  std::int32_t interval, wait1, waitN, waitR;
  friend bool operator==(const TimingValues&, const TimingValues&) = default;
};

TimingValues Values(const Timings& t) { return {t.interval, t.wait1, t.waitN, t.waitR}; }

TEST(Settings, MissingFileKeepsDefaultsAndAnEmptyTable) {
  MemoryFile file;
  Timings timings;
  CodeTable codes;
  GroupList groups;
  LoadSettings(file, timings, codes, groups);
  ReadWaits(file, timings);
  EXPECT_EQ(Values(timings), (TimingValues{50, 300, 100, 200}));
  EXPECT_EQ(codes.size(), 0u);
  EXPECT_EQ(groups.NameAt(0), "Sendaro Control");
  EXPECT_TRUE(file.writes.empty());
}

TEST(Settings, ReadsIntegersAndKeepsTheCurrentValueForAnythingElse) {
  MemoryFile file;
  file.sections["Main"] = {{"Interval", "5"}, {"Wait1", "0x1F4"}, {"WaitN", "fast"}, {"WaitR", "-3"}};
  file.codeLines = {"1A=Power"};
  Timings timings;
  timings.waitN = 77;  // the current value, not the default, is what a bad value keeps
  CodeTable codes;
  GroupList groups;
  LoadSettings(file, timings, codes, groups);
  // LoadSettings reads Interval and the codes only; the waits are Open's own step.
  EXPECT_EQ(Values(timings), (TimingValues{5, 300, 77, 200}));
  EXPECT_EQ(codes.size(), 1u);
  ReadWaits(file, timings);
  EXPECT_EQ(Values(timings), (TimingValues{5, 500, 77, -3}));
}

TEST(Settings, SaveTimingsWritesTheWaitsInDecimalInOrder) {
  MemoryFile file;
  Timings timings;
  timings.interval = 10;
  timings.wait1 = 0x150;
  timings.waitR = -1;
  SaveTimings(file, timings);
  EXPECT_EQ(file.writes, (std::vector<std::string>{"Main.Wait1=336", "Main.WaitN=100", "Main.WaitR=-1"}));
  // What was written reads back as the same values.
  Timings reread;
  ReadWaits(file, reread);
  EXPECT_EQ(Values(reread), (TimingValues{50, 336, 100, -1}));
}

TEST(ReadingSlot, HoldsOneReadingAndNeverLetsTheReleaseOverwriteANewOne) {
  ReadingSlot slot;
  EXPECT_FALSE(slot.Take());
  slot.StorePressed(1);
  slot.StorePressed(2);  // the latest wins; readings are never queued
  EXPECT_FALSE(slot.StoreReleaseUnlessNew());
  EXPECT_EQ(slot.Take(), (Reading{2, true}));
  EXPECT_FALSE(slot.HasNew());
  EXPECT_TRUE(slot.StoreReleaseUnlessNew());
  EXPECT_EQ(slot.Take(), (Reading{2, false})) << "the release keeps the code";
  slot.StorePressed(0xFFFFFFFF);
  EXPECT_EQ(slot.Take(), (Reading{0xFFFFFFFF, true})) << "a 32-bit code is extended with zeros";
}

}  // namespace
}  // namespace sendaro

namespace sendaro {
namespace {

class FakeLibrary final : public LibraryLoader {
 public:
  bool loads = true, hasInit = true, hasRead = true;
  std::int32_t initResult = 1;
  std::vector<std::string> calls;

  bool Load() override {
    calls.push_back("load");
    return loads;
  }
  bool HasInit() override { return hasInit; }
  bool HasRead() override { return hasRead; }
  std::int32_t CallInit() override {
    calls.push_back("init");
    return initResult;
  }
  void Unload() override { calls.push_back("unload"); }
  void ShowError(const char* message) override { calls.push_back(message); }
};

TEST(RemoteBinding, ShowsAtMostOneMessageAndUnloadsOnEveryFailure) {
  struct Case {
    bool loads, hasInit, hasRead;
    std::int32_t initResult;
    bool bound;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {true, true, true, 1, true, {"load", "init"}},
      {true, true, true, -5, true, {"load", "init"}},  // any nonzero value is success
      {false, true, true, 1, false, {"load", "Load RemtCtrl.dll Fail."}},
      {true, false, true, 1, false, {"load", "Can't get function address 'InitRemoteCtrl'", "unload"}},
      {true, false, false, 1, false, {"load", "Can't get function address 'InitRemoteCtrl'", "unload"}},
      {true, true, true, 0, false, {"load", "init", "Initial Remote Contrl Fail.", "unload"}},
      {true, true, false, 0, false, {"load", "init", "Initial Remote Contrl Fail.", "unload"}},
      {true, true, false, 1, false, {"load", "init", "Can't get function address 'ReadRemoteData'", "unload"}},
  };
  for (const Case& c : cases) {
    FakeLibrary library;
    library.loads = c.loads;
    library.hasInit = c.hasInit;
    library.hasRead = c.hasRead;
    library.initResult = c.initResult;
    EXPECT_EQ(BindRemoteLibrary(library), c.bound);
    EXPECT_EQ(library.calls, c.calls);
  }
}

}  // namespace
}  // namespace sendaro
