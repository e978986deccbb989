#pragma once
// The few differences between BSD sockets and Winsock that the transport's
// socket classes meet, so their files read the same on both.

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

namespace hx {

using SocketHandle = SOCKET;
using SocketLength = int;
inline constexpr SocketHandle kNoSocket = INVALID_SOCKET;
inline constexpr int kNoWaitFlags = 0;  // sockets are switched to non-blocking instead

inline int CloseSocket(SocketHandle s) {
    return closesocket(s);
}
inline bool LastErrorWouldBlock() {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}
inline int PollSockets(WSAPOLLFD* fds, unsigned long count, int timeoutMs) {
    return WSAPoll(fds, count, timeoutMs);
}
inline bool SetNonBlocking(SocketHandle s) {
    u_long on = 1;
    return ioctlsocket(s, FIONBIO, &on) == 0;
}
inline bool LastErrorConnecting() {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}
using SocketPollFd = WSAPOLLFD;
}  // namespace hx
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace hx {

using SocketHandle = int;
using SocketLength = socklen_t;
inline constexpr SocketHandle kNoSocket = -1;
// Never block inside send or recv, and never die of SIGPIPE on a closed peer.
inline constexpr int kNoWaitFlags = MSG_DONTWAIT | MSG_NOSIGNAL;

inline int CloseSocket(SocketHandle s) {
    return close(s);
}
inline bool LastErrorWouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK;
}
inline int PollSockets(pollfd* fds, nfds_t count, int timeoutMs) {
    return poll(fds, count, timeoutMs);
}
inline bool SetNonBlocking(SocketHandle s) {
    const int flags = fcntl(s, F_GETFL);
    return flags >= 0 && fcntl(s, F_SETFL, flags | O_NONBLOCK) == 0;
}
inline bool LastErrorConnecting() {
    return errno == EINPROGRESS;
}
using SocketPollFd = pollfd;
}  // namespace hx
#endif

namespace hx {

// Waits up to timeoutMs for one of the events (POLLIN, POLLOUT) on a socket:
// 1 ready (an error or hang-up counts as ready, the next call reports it),
// 0 not within the time, -1 failure.
inline int WaitSocket(SocketHandle s, short events, int timeoutMs) {
    SocketPollFd fd{};
    fd.fd = s;
    fd.events = events;
    int result = PollSockets(&fd, 1, timeoutMs);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

// The outcome of a non-blocking connect once the socket is writable: 0 connected.
inline int PendingSocketError(SocketHandle s) {
    int error = 0;
    SocketLength length = sizeof error;
    if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
        return -1;
    }
    return error;
}

// "%u.%u.%u.%u" of an IPv4 address in network order; false when it does not fit.
bool FormatDotted(const in_addr& address, char* out, int size);

}  // namespace hx
