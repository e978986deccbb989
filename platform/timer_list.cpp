#include "platform/timer_list.h"

#include <algorithm>

namespace hx {

void CTimerList::Set(HWND hwnd, UINT_PTR id, UINT elapseMs, std::uint64_t now) {
    const std::uint64_t elapse = std::max<std::uint64_t>(elapseMs, kMinimumElapseMs);
    for (stTimer& timer : m_timers) {
        if (timer.hwnd == hwnd && timer.id == id) {
            timer.elapse = elapse;
            timer.due = now + elapse;
            return;
        }
    }
    m_timers.push_back({hwnd, id, elapse, now + elapse, m_nextStartOrder++});
}

bool CTimerList::Kill(HWND hwnd, UINT_PTR id) {
    return std::erase_if(m_timers, [&](const stTimer& timer) {
               return timer.hwnd == hwnd && timer.id == id;
           }) > 0;
}

void CTimerList::KillAllOf(HWND hwnd) {
    std::erase_if(m_timers, [&](const stTimer& timer) { return timer.hwnd == hwnd; });
}

std::optional<MSG> CTimerList::TakeDue(const stMessageFilter& filter, std::uint64_t now,
                                       bool remove) {
    stTimer* earliest = nullptr;
    for (stTimer& timer : m_timers) {
        if (timer.due > now || !filter.Matches(timer.hwnd, WM_TIMER)) {
            continue;
        }
        if (earliest == nullptr || timer.due < earliest->due ||
            (timer.due == earliest->due && timer.startOrder < earliest->startOrder)) {
            earliest = &timer;
        }
    }
    if (earliest == nullptr) {
        return std::nullopt;
    }
    MSG msg{earliest->hwnd, WM_TIMER, earliest->id, 0, static_cast<std::uint32_t>(now)};
    if (remove) {
        // From now, not from the missed due time: a late loop gets one
        // WM_TIMER, not a burst of them.
        earliest->due = now + earliest->elapse;
    }
    return msg;
}

std::optional<std::uint64_t> CTimerList::NextDue(const stMessageFilter& filter) const {
    std::optional<std::uint64_t> next;
    for (const stTimer& timer : m_timers) {
        if (!filter.Matches(timer.hwnd, WM_TIMER)) {
            continue;
        }
        if (!next || timer.due < *next) {
            next = timer.due;
        }
    }
    return next;
}

bool CTimerList::AnyDue(std::uint64_t now) const {
    const std::optional<std::uint64_t> next = NextDue();
    return next && *next <= now;
}

}  // namespace hx
