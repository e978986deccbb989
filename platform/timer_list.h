#pragma once
// The timers of one thread. WM_TIMER is made when the queue is read rather
// than queued when a timer falls due, so a timer has at most one WM_TIMER
// waiting and a killed timer can never be delivered afterwards.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/message_filter.h"
#include "platform/window_types.h"

namespace hx {

class CTimerList {
public:
    // Shorter periods are raised to this, as Windows does, so a zero period
    // cannot keep the loop busy.
    static constexpr std::uint64_t kMinimumElapseMs = 10;

    // Starts the timer, or restarts it with the new period when it exists.
    void Set(HWND hwnd, UINT_PTR id, UINT elapseMs, std::uint64_t now);
    bool Kill(HWND hwnd, UINT_PTR id);
    void KillAllOf(HWND hwnd);

    // The earliest due timer that passes the filter, as a WM_TIMER (ties go to
    // the timer started first). Taking it restarts its period from `now`.
    std::optional<MSG> TakeDue(const stMessageFilter& filter, std::uint64_t now, bool remove);
    // When the next timer passing the filter falls due.
    std::optional<std::uint64_t> NextDue(const stMessageFilter& filter = {}) const;
    bool AnyDue(std::uint64_t now) const;

private:
    struct stTimer {
        HWND hwnd;
        UINT_PTR id;
        std::uint64_t elapse;
        std::uint64_t due;
        std::uint64_t startOrder;
    };

    std::vector<stTimer> m_timers;
    std::uint64_t m_nextStartOrder = 0;
};

}  // namespace hx
