// The settings file read through the system's profile services, as texts; numbers are parsed by
// the core, so that "0x10" means the same on every system.
#pragma once

#include <windows.h>

#include <string>

#include "keyboard_settings.h"

namespace keyboard::win {

class ProfileSettingsSource final : public SettingsSource {
 public:
  explicit ProfileSettingsSource(std::string path) : path_(std::move(path)) {}

  std::optional<std::string> ReadText(std::string_view section, std::string_view key) override {
    // A default no file would hold tells a missing key from an empty one.
    static constexpr char kMissing[] = "\x7F\x01missing";
    char value[1024];
    const DWORD length = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), kMissing,
                                                  value, sizeof value, path_.c_str());
    const std::string text(value, length < sizeof value ? length : sizeof value - 1);
    if (text == kMissing) return std::nullopt;
    return text;  // an overlong value is cut; as a number it is out of range and so no number
  }

 private:
  std::string path_;
};

class ProfileSettingsSink final : public SettingsSink {
 public:
  explicit ProfileSettingsSink(std::string path) : path_(std::move(path)) {}

  // A failed write (a read-only folder) loses the value; there is no one to tell.
  void WriteText(std::string_view section, std::string_view key, std::string_view value) override {
    WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str(),
                               path_.c_str());
  }

 private:
  std::string path_;
};

}  // namespace keyboard::win
