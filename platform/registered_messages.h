#pragma once
// Message ids agreed on by name, as RegisterWindowMessage does on Windows.

#include "platform/window_types.h"

namespace hx {

// The process-wide id of a message name, from 0xC000 up; the same name (ASCII
// case ignored) always gives the same id, on any thread. 0 for an empty or
// null name, or when every id up to 0xFFFF is taken.
UINT RegisterWindowMessage(const char* name);

}  // namespace hx
