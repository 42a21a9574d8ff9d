// A host's parameter block for tests: strings become texts, ints numbers; the texts live as long
// as the block does.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <variant>

#include "contract/plugin_contract.h"

namespace keyboard::testing {

using HostValues = std::initializer_list<std::variant<std::string, std::int32_t>>;

class HostBlock {
 public:
  HostBlock(HostValues values) {
    for (const auto& value : values) {
      const int i = params.count++;
      if (const auto* text = std::get_if<std::string>(&value)) {
        texts_.push_back(*text);
        params.kind[i] = contract::kKindText;
        params.value[i] = reinterpret_cast<contract::ParamSlot>(texts_.back().c_str());
      } else {
        params.kind[i] = 1;
        params.value[i] = std::get<std::int32_t>(value);  // sign-extended, as the host writes a number
      }
    }
  }
  HostBlock(const HostBlock&) = delete;
  HostBlock& operator=(const HostBlock&) = delete;

  contract::ActionParams params{};

 private:
  std::deque<std::string> texts_;
};

}  // namespace keyboard::testing
