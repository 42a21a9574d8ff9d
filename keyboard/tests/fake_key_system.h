// A stand-in for the system's key mapping and key names, set up per test.
#pragma once

#include <cstring>
#include <map>
#include <span>
#include <string>
#include <utility>

#include "key_names.h"

namespace keyboard::testing {

class FakeKeySystem : public KeySystem {
 public:
  // (code, map type) -> result
  std::map<std::pair<unsigned, unsigned>, unsigned> mappings;
  // key message LPARAM -> name
  std::map<std::int32_t, std::string> names;
  int nameCalls = 0;

  unsigned MapKey(unsigned code, unsigned mapType) override {
    const auto found = mappings.find({code, mapType});
    return found == mappings.end() ? 0 : found->second;
  }
  std::size_t KeyNameText(std::int32_t lParam, std::span<char> out) override {
    ++nameCalls;
    const auto found = names.find(lParam);
    const std::string name = found == names.end() ? std::string() : found->second;
    const std::size_t n = name.size() < out.size() - 1 ? name.size() : out.size() - 1;
    std::memcpy(out.data(), name.data(), n);
    out[n] = '\0';
    return n;
  }
};

}  // namespace keyboard::testing
