// The settings file through the system's profile services, opened anew for every call.
#pragma once

#include <string>

#include "remote_settings.h"

namespace sendaro::win {

class ProfileFile final : public SettingsFile {
 public:
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) override;
  std::vector<std::string> ReadSection(std::string_view section) override;
  void WriteString(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::string path_;
};

}  // namespace sendaro::win
