#pragma once
// The one clock of the message loop: timers, GetTickCount and timed pumping
// all read it. It is the steady clock in milliseconds unless a test switches
// the process to the manual clock, which moves only when told to, so timer
// behaviour can be tested without sleeping.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace hx {

class CLoopClock {
public:
    // Milliseconds; never goes back, not even across a switch of clocks.
    static std::uint64_t Now();

    // The manual clock starts at the current reading and stands still.
    static void UseManualClock();
    static void UseRealClock();
    static bool IsManual();

    // Move the manual clock forward; false (and nothing happens) under the real clock.
    static bool Advance(std::uint64_t ms);
    // Move the manual clock to `ms` unless it is already there or later.
    static bool AdvanceTo(std::uint64_t ms);

    // Called after every move or switch of the clock, outside the clock's lock,
    // so that threads waiting for a timer look at the time again.
    using WakeListener = void (*)();
    static void SetWakeListener(WakeListener listener);

    // Blocks on `wake` until notified, or until the clock reads `dueMs` when
    // the real clock runs. Spurious returns are possible; callers re-check.
    static void WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                          std::optional<std::uint64_t> dueMs);
};

}  // namespace hx
