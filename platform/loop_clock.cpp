#include "platform/loop_clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace hx {

namespace {

using SteadyClock = std::chrono::steady_clock;

struct stClockState {
    std::mutex mutex;
    bool manual = false;
    std::uint64_t manualNow = 0;
    // Added to the steady reading so that the real clock resumes where the
    // manual one stopped instead of jumping back.
    std::uint64_t realOffset = 0;
};

// Never destroyed: threads may read the clock while the process exits.
stClockState& State() {
    static auto* state = new stClockState;
    return *state;
}

std::atomic<CLoopClock::WakeListener> g_wakeListener{nullptr};

std::uint64_t SteadyMs() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now().time_since_epoch())
            .count());
}

std::uint64_t NowLocked(const stClockState& state) {
    return state.manual ? state.manualNow : SteadyMs() + state.realOffset;
}

void WakeWaiters() {
    if (CLoopClock::WakeListener listener = g_wakeListener.load()) {
        listener();
    }
}

}  // namespace

std::uint64_t CLoopClock::Now() {
    stClockState& state = State();
    std::lock_guard lock(state.mutex);
    return NowLocked(state);
}

void CLoopClock::UseManualClock() {
    {
        stClockState& state = State();
        std::lock_guard lock(state.mutex);
        state.manualNow = NowLocked(state);
        state.manual = true;
    }
    WakeWaiters();
}

void CLoopClock::UseRealClock() {
    {
        stClockState& state = State();
        std::lock_guard lock(state.mutex);
        if (state.manual) {
            const std::uint64_t steady = SteadyMs();
            if (state.manualNow > steady + state.realOffset) {
                state.realOffset = state.manualNow - steady;
            }
            state.manual = false;
        }
    }
    WakeWaiters();
}

bool CLoopClock::IsManual() {
    stClockState& state = State();
    std::lock_guard lock(state.mutex);
    return state.manual;
}

bool CLoopClock::Advance(std::uint64_t ms) {
    {
        stClockState& state = State();
        std::lock_guard lock(state.mutex);
        if (!state.manual) {
            return false;
        }
        state.manualNow += ms;
    }
    WakeWaiters();
    return true;
}

bool CLoopClock::AdvanceTo(std::uint64_t ms) {
    {
        stClockState& state = State();
        std::lock_guard lock(state.mutex);
        if (!state.manual) {
            return false;
        }
        state.manualNow = std::max(state.manualNow, ms);
    }
    WakeWaiters();
    return true;
}

void CLoopClock::SetWakeListener(WakeListener listener) {
    g_wakeListener.store(listener);
}

void CLoopClock::WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                           std::optional<std::uint64_t> dueMs) {
    std::optional<SteadyClock::time_point> deadline;
    if (dueMs) {
        stClockState& state = State();
        std::lock_guard clockLock(state.mutex);
        if (!state.manual) {
            const std::uint64_t steadyDue =
                *dueMs > state.realOffset ? *dueMs - state.realOffset : 0;
            deadline = SteadyClock::time_point(std::chrono::milliseconds(steadyDue));
        }
    }
    if (deadline) {
        wake.wait_until(lock, *deadline);
    } else {
        wake.wait(lock);
    }
}

}  // namespace hx
