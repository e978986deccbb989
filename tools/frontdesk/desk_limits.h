#pragma once
// How much the desk takes on: a lobby desk runs for months, so neither a flood
// of connections nor kiosks that went quiet may use it up.

#include <chrono>

namespace hx {

struct stDeskLimits {
    // Connections served at once; one more is accepted, journalled and closed.
    int maxConnections = 64;
    // A connection with no message for this long is closed. Kiosks ping every
    // five minutes, so the default leaves them three chances.
    std::chrono::milliseconds idleTimeout = std::chrono::minutes(15);
};

}  // namespace hx
