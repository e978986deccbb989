#pragma once
// The window and message-range filter of GetMessage and PeekMessage.

#include "platform/window_types.h"

namespace hx {

struct stMessageFilter {
    HWND hwnd = 0;  // 0: every window and the thread's own messages
    UINT first = 0;
    UINT last = 0;  // first == last == 0: every message

    bool Matches(HWND target, UINT message) const {
        if (hwnd != 0 && target != hwnd) {
            return false;
        }
        return (first == 0 && last == 0) || (message >= first && message <= last);
    }
};

}  // namespace hx
