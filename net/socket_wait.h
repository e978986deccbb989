#pragma once
// Waiting for input on a socket without holding the object that owns it, so
// a worker can wait while other threads keep sending.

#include <cstdint>

namespace hx {

// Up to timeoutMs for input on a socket taken from GetSocket(): 1 readable (a
// hang-up or error counts, the next receive reports it), 0 not within the
// time, -1 failure. A socket closed meanwhile ends the wait early or at its
// limit, never anything worse.
int WaitSocketReadable(intptr_t socket, int timeoutMs);

// Ends a connection both ways while keeping its descriptor, so another thread
// blocked sending or receiving on it fails at once instead of waiting for the
// peer. Only the owner's close releases the descriptor: a number still held
// can never name somebody else's connection.
void ShutdownSocket(intptr_t socket);

}  // namespace hx
