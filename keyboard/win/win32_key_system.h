// The system's key mapping and key names for the naming core.
#pragma once

#include <windows.h>

#include "key_names.h"

namespace keyboard::win {

class Win32KeySystem final : public KeySystem {
 public:
  unsigned MapKey(unsigned code, unsigned mapType) override { return MapVirtualKeyA(code, mapType); }
  std::size_t KeyNameText(std::int32_t lParam, std::span<char> out) override {
    if (out.empty()) return 0;
    out[0] = '\0';
    const int length = GetKeyNameTextA(static_cast<LONG>(lParam), out.data(), static_cast<int>(out.size()));
    return length > 0 ? static_cast<std::size_t>(length) : 0;
  }
};

}  // namespace keyboard::win
