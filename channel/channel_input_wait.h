#pragma once
// The channel reader's idle wait. Input can be off the socket before the
// reader asks for it: the rest of a burst that one read took in whole, or
// what a send that had to wait drained from the peer meanwhile. Such input
// never makes the socket readable again, so it is looked for first.

#include <chrono>
#include <cstdint>

namespace hx {

class CIOPacket;

// 1 when input waits in the connection or on its socket (taken from
// GetSocket()), 0 when none came within the limit, -1 on failure.
int WaitChannelInput(CIOPacket& connection, intptr_t socket, std::chrono::milliseconds limit);

}  // namespace hx
