#pragma once
// Waiting in tests for what another thread or process will do: the condition
// is looked at again and again, less often as the wait goes on, until it holds
// or the bound passes. The bound only stops a broken test from hanging; a
// passing test never reaches it, so it says nothing about machine speed.

#include <chrono>
#include <functional>

namespace hx {

inline constexpr std::chrono::milliseconds kTestPatience{20000};

// True as soon as `done` holds; false when it still does not after `limit`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kTestPatience);

}  // namespace hx
