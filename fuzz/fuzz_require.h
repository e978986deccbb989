#pragma once
// A fuzz target's own invariant checks: a broken one aborts, so libFuzzer
// (and the corpus replay under CTest) report it like a crash.

#include <cstdlib>

namespace hx {

inline void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace hx
