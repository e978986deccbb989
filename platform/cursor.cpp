#include "platform/cursor.h"

#include <atomic>

namespace hx {

namespace {

std::atomic<int> g_displayCount{0};

}  // namespace

int ShowCursor(bool show) {
    return g_displayCount += show ? 1 : -1;
}

}  // namespace hx
