// Building a parameter block as a host does: a command word first, then one argument.
#pragma once

#include "contract/plugin_contract.h"

namespace contract {

// A block of `count` parameters: the text `word` first, then `value1` of kind `kind1`; the other
// slots are zero.
inline ActionParams WordBlock(const char* word, std::int32_t count = 1, std::int32_t kind1 = 1,
                              ParamSlot value1 = 0) noexcept {
  ActionParams params{};
  params.count = count;
  params.value[0] = reinterpret_cast<ParamSlot>(word);
  params.kind[1] = kind1;
  params.value[1] = value1;
  return params;
}

}  // namespace contract
