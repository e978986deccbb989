#include "tests/support/wait_until.h"

#include <algorithm>
#include <thread>

namespace hx {

namespace {

// Quick answers are seen at once; slow ones (a program starting) are not
// polled a thousand times a second.
constexpr std::chrono::milliseconds kFirstPause{1};
constexpr std::chrono::milliseconds kLongestPause{10};

}  // namespace

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    std::chrono::milliseconds pause = kFirstPause;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, kLongestPause);
    }
    return true;
}

}  // namespace hx
