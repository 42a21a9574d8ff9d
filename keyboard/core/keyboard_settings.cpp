#include "keyboard_settings.h"

#include <cstdint>

namespace keyboard {

namespace {

int DigitValue(char c, int base) noexcept {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

std::optional<std::int32_t> ParseSettingInteger(std::string_view text) noexcept {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    if (text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
      const int digit = DigitValue(c, 16);
      if (digit < 0) return std::nullopt;
      value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);  // 0xFFFFFFFF is -1, as the 32-bit file value was
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    const int digit = DigitValue(c, 10);
    if (digit < 0) return std::nullopt;
    value = value * 10 + digit;
    if (value > std::int64_t{1} << 31) return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

KeyboardSettings ReadSettings(SettingsSource& source,
                              const std::function<void(std::string_view key, const KeyboardSettings&)>& afterEach) {
  KeyboardSettings settings;
#define TEXT_SETTING(section, key, member, fallback)                     \
  if (std::optional<std::string> text = source.ReadText(section, key)) { \
    settings.member = std::move(*text);                                  \
  }                                                                      \
  if (afterEach) afterEach(key, settings);
#define TRUTH_SETTING(section, key, member, fallback)                      \
  if (std::optional<std::string> text = source.ReadText(section, key)) {   \
    if (std::optional<std::int32_t> number = ParseSettingInteger(*text)) { \
      settings.member = *number != 0;                                      \
    }                                                                      \
  }                                                                        \
  if (afterEach) afterEach(key, settings);
#include "keyboard_settings.inc"
#undef TEXT_SETTING
#undef TRUTH_SETTING
  return settings;
}

void WriteSettings(const KeyboardSettings& settings, SettingsSink& sink) {
#define TEXT_SETTING(section, key, member, fallback) sink.WriteText(section, key, settings.member);
#define TRUTH_SETTING(section, key, member, fallback) sink.WriteText(section, key, settings.member ? "1" : "0");
#include "keyboard_settings.inc"
#undef TEXT_SETTING
#undef TRUTH_SETTING
}

}  // namespace keyboard
