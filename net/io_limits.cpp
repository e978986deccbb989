#include "net/io_limits.h"

#include <mutex>

namespace hx {

namespace {

std::mutex g_limitsMutex;
stIoTimeLimits g_limits;

}  // namespace

stIoTimeLimits GetIoTimeLimits() {
    std::lock_guard lock(g_limitsMutex);
    return g_limits;
}

void SetIoTimeLimits(const stIoTimeLimits& limits) {
    std::lock_guard lock(g_limitsMutex);
    g_limits = limits;
}

}  // namespace hx
