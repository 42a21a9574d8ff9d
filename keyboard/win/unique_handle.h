// The keyboard plug-in's owners of system handles are the shared ones.
#pragma once

#include "contract/win/unique_handle.h"

namespace keyboard::win {

using contract::win::Unique;
using contract::win::UniqueHandle;
using contract::win::UniqueHook;
using contract::win::UniqueWindow;

}  // namespace keyboard::win
