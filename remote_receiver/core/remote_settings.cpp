#include "remote_settings.h"

#include "ini_integer.h"

namespace sendaro {

void WriteTiming(SettingsFile& file, const Timings& timings, const TimingKey& key) {
  file.WriteString(kMainSection, key.key, std::to_string((timings.*key.member).load()));
}

void ReadTiming(SettingsFile& file, Timings& timings, const TimingKey& key) {
  const std::optional<std::string> text = file.ReadString(kMainSection, key.key);
  if (!text) return;
  if (const std::optional<std::int32_t> value = ParseIniInteger(*text)) (timings.*key.member).store(*value);
}

void LoadSettings(SettingsFile& file, Timings& timings, CodeTable& codes, GroupList& groups) {
  ReadTiming(file, timings, kIntervalKey);
  codes.Load(file.ReadSection(kCodesSection));
  groups.Reset();
}

void ReadWaits(SettingsFile& file, Timings& timings) {
  for (const TimingKey& key : kWaitKeys) ReadTiming(file, timings, key);
}

void SaveTimings(SettingsFile& file, const Timings& timings) {
  for (const TimingKey& key : kWaitKeys) WriteTiming(file, timings, key);
}

}  // namespace sendaro
