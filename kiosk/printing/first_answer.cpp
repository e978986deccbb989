#include "kiosk/printing/first_answer.h"

#include <algorithm>

namespace hx {

size_t ReadFirstBytes(CSerial& port, std::span<uint8_t> buffer, std::chrono::milliseconds limit,
                      std::chrono::milliseconds slice) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    DWORD count = 0;
    while (port.Read(buffer.data(), buffer.size(), &count, 0) == ERROR_SUCCESS && count == 0) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        const LONG waited = port.WaitForEvent(static_cast<DWORD>(std::min(left, slice).count()));
        if (waited != ERROR_SUCCESS && waited != ERROR_TIMEOUT) {
            break;
        }
    }
    return count;
}

}  // namespace hx
