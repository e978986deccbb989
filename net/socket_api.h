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
inline constexpr int kShutdownBoth = SD_BOTH;

// Two connected non-blocking sockets, for one thread to wake another's poll.
// Winsock has no socketpair: the two ends of a loopback connection.
inline bool OpenSocketPair(SocketHandle ends[2]) {
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    u_long nonBlocking = 1;
    ends[0] = ends[1] = INVALID_SOCKET;
    const bool opened =
        listener != INVALID_SOCKET &&
        bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        listen(listener, 1) == 0 &&
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
        (ends[0] = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) != INVALID_SOCKET &&
        connect(ends[0], reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        (ends[1] = accept(listener, nullptr, nullptr)) != INVALID_SOCKET &&
        ioctlsocket(ends[0], FIONBIO, &nonBlocking) == 0 &&
        ioctlsocket(ends[1], FIONBIO, &nonBlocking) == 0;
    if (listener != INVALID_SOCKET) {
        closesocket(listener);
    }
    for (int i = 0; i < 2 && !opened; ++i) {
        if (ends[i] != INVALID_SOCKET) {
            closesocket(ends[i]);
        }
    }
    return opened;
}
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
inline constexpr int kShutdownBoth = SHUT_RDWR;

// Two connected non-blocking sockets, for one thread to wake another's poll.
inline bool OpenSocketPair(SocketHandle ends[2]) {
    return socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) == 0;
}
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

// "%u.%u.%u.%u" of an IPv4 address in network order into out of the given
// size; false, with nothing written, when the size is negative or too small.
bool FormatDotted(const in_addr& address, char* out, int size);

}  // namespace hx
