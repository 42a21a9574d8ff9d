// The keyboard plug-in's settings and how its settings file is read.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace keyboard {

struct KeyboardSettings {
#define TEXT_SETTING(section, key, member, fallback) std::string member = fallback;
#define TRUTH_SETTING(section, key, member, fallback) bool member = fallback;
#include "keyboard_settings.inc"
#undef TEXT_SETTING
#undef TRUTH_SETTING
};

// The settings file as the profile services see it: the value of a key as text, or nothing when
// the file, section or key is missing.
class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  virtual std::optional<std::string> ReadText(std::string_view section, std::string_view key) = 0;
};

// The settings file as the profile services write it: one key's value as text.
class SettingsSink {
 public:
  virtual ~SettingsSink() = default;
  virtual void WriteText(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// An integer as the settings file may hold it: decimal with an optional sign, or hexadecimal
// after "0x"/"0X" (at most 32 bits). Leading zeros stay decimal ("010" is ten). Anything else,
// out-of-range numbers included, is no integer.
std::optional<std::int32_t> ParseSettingInteger(std::string_view text) noexcept;

// Reads every key in file order; `afterEach` runs after each key with the settings so far (the
// hook library must learn some settings at the moment they are read).
KeyboardSettings ReadSettings(SettingsSource& source,
                              const std::function<void(std::string_view key, const KeyboardSettings&)>& afterEach);

// Writes every key in file order, truth values as "1" or "0".
void WriteSettings(const KeyboardSettings& settings, SettingsSink& sink);

}  // namespace keyboard
