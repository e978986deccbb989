#include "net/io_limits.h"

#include <atomic>
#include <mutex>

namespace hx {

namespace {

std::mutex g_limitsMutex;
stIoTimeLimits g_limits;
std::atomic<int> g_maxMessageBytes{kDefaultMaxMessageBytes};

}  // namespace

stIoTimeLimits GetIoTimeLimits() {
    std::lock_guard lock(g_limitsMutex);
    return g_limits;
}

void SetIoTimeLimits(const stIoTimeLimits& limits) {
    std::lock_guard lock(g_limitsMutex);
    g_limits = limits;
}

int GetMaxMessageBytes() {
    return g_maxMessageBytes;
}

void SetMaxMessageBytes(int bytes) {
    g_maxMessageBytes = bytes > 0 ? bytes : kDefaultMaxMessageBytes;
}

}  // namespace hx
