// The timing settings of [Main] and the file passes that read and write them and the code table.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "code_table.h"

namespace sendaro {

// Milliseconds, each one aligned 32-bit word: the settings window writes them while the threads
// read them at each use.
struct Timings {
  std::atomic<std::int32_t> interval{50};  // pause of the reader after each poll
  std::atomic<std::int32_t> wait1{300};    // press to first repeat
  std::atomic<std::int32_t> waitN{100};    // between repeats
  std::atomic<std::int32_t> waitR{200};    // no reading for this long: released
};

struct TimingKey {
  std::string_view key;
  std::atomic<std::int32_t> Timings::*member;
};

// The keys of [Main]; the defaults are the members' initial values.
inline constexpr TimingKey kIntervalKey{"Interval", &Timings::interval};
// Read by Open after LoadSettings and written by SaveTimings, in this order.
inline constexpr TimingKey kWaitKeys[] = {
    {"Wait1", &Timings::wait1},
    {"WaitN", &Timings::waitN},
    {"WaitR", &Timings::waitR},
};

inline constexpr std::string_view kMainSection = "Main";
inline constexpr std::string_view kCodesSection = "Codes";

// One read or write pass over the settings file.
class SettingsFile {
 public:
  virtual ~SettingsFile() = default;
  // The value's text, or nothing when the key is missing.
  virtual std::optional<std::string> ReadString(std::string_view section, std::string_view key) = 0;
  // The section's "key=value" lines in file order (empty when it is missing).
  virtual std::vector<std::string> ReadSection(std::string_view section) = 0;
  virtual void WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// Reads `key` of [Main] into the setting when it holds an integer; otherwise keeps its value.
void ReadTiming(SettingsFile& file, Timings& timings, const TimingKey& key);
// Writes `key` of [Main] in decimal.
void WriteTiming(SettingsFile& file, const Timings& timings, const TimingKey& key);

// Reads Interval, refills the code table from [Codes] and rebuilds the group list.
void LoadSettings(SettingsFile& file, Timings& timings, CodeTable& codes, GroupList& groups);
// Reads Wait1, WaitN and WaitR, each with its current value as the fallback.
void ReadWaits(SettingsFile& file, Timings& timings);
// Writes Wait1, WaitN and WaitR in decimal.
void SaveTimings(SettingsFile& file, const Timings& timings);

}  // namespace sendaro
