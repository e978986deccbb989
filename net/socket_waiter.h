#pragma once
// A wait for input on a socket that other threads can cut short: a worker
// sleeps until its peer sends, its time is up, or someone has work for it,
// and never spins to find out.

#include <cstdint>

namespace hx {

enum class enumSocketWait {
    Readable,  // input, a hang-up or an error waits on the socket
    Woken,     // Wake was called
    TimedOut,
    Failed,
};

class CSocketWaiter {
public:
    // Should the system refuse the waker's own sockets, waits still end on
    // input and on time, only never early.
    CSocketWaiter();
    ~CSocketWaiter();
    CSocketWaiter(const CSocketWaiter&) = delete;
    CSocketWaiter& operator=(const CSocketWaiter&) = delete;

    // Any thread: ends the wait in progress, or else the next one, at once.
    // Wakes that come before a wait ends are taken together.
    void Wake();

    // One thread at a time: up to timeoutMs for input on a socket taken from
    // GetSocket() (a listening socket is readable when a connection waits), or
    // for a Wake. Input wins when both came. With socket -1 only a Wake or the
    // time ends the wait.
    enumSocketWait Wait(intptr_t socket, int timeoutMs);

private:
    void TakeWakes();

    intptr_t m_wakeReceiver = -1;
    intptr_t m_wakeSender = -1;
};

}  // namespace hx
