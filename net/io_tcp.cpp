#include "net/io_tcp.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <thread>

#include "net/io_limits.h"
#include "net/net_log.h"
#include "net/ping.h"
#include "net/socket_wait.h"
#include "net/socket_waiter.h"

namespace hx {

namespace {

constexpr size_t kMinHostLength = 7;  // "1.2.3.4"
constexpr size_t kPeekSize = 64;

void SetNoDelay(SocketHandle s) {
    int on = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

sockaddr_in MakeAddress(const in_addr& address, uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr = address;
    socketAddress.sin_port = htons(port);
    return socketAddress;
}

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

CIOTcp::CIOTcp(const char* host, uint16_t port, uint32_t options, bool trace)
    : CIOBase(options, trace), m_port(port) {
    std::snprintf(m_host, sizeof m_host, "%s", host != nullptr ? host : "");
}

CIOTcp::CIOTcp(SocketHandle accepted, const char* peer, uint16_t port, uint32_t options)
    : CIOTcp(peer, port, options, true) {
    m_socket = accepted;
}

CIOTcp::~CIOTcp() {
    Close();
}

// The object may connect again: nothing of this connection may be handed out
// on the next.
void CIOTcp::Close() {
    if (m_socket != kNoSocket) {
        CloseSocket(m_socket);
        m_socket = kNoSocket;
    }
    m_drain.Clear();
    DiscardReceived();
}

int CIOTcp::ResolveHost(in_addr& address) {
    if (inet_pton(AF_INET, m_host, &address) == 1) {
        return IO_OK;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(m_host, nullptr, &hints, &found) != 0 || found == nullptr) {
        Close();
        return IO_HOST_UNKNOWN;
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return IO_OK;
}

// A refused connect leaves a socket in an undefined state, so every attempt
// gets a fresh one.
int CIOTcp::TryConnect(const in_addr& address, int attempts) {
    const sockaddr_in target = MakeAddress(address, m_port);
    for (int attempt = 0; attempt < std::max(attempts, 1); ++attempt) {
        if (attempt > 0) {
            Pause(GetIoTimeLimits().connectRetryMs);
        }
        Close();
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (m_socket == kNoSocket) {
            return IO_SOCKET_FAILED;
        }
        SetNoDelay(m_socket);
        // Non-blocking, so the attempt has our limit and can be interrupted;
        // sends and receives never block anyway.
        if (!SetNonBlocking(m_socket)) {
            return IO_SOCKET_FAILED;
        }
        if (connect(m_socket, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
            return IO_OK;
        }
        if (LastErrorConnecting() && Wait(POLLOUT, GetIoTimeLimits().connectMs) == 1 &&
            PendingSocketError(m_socket) == 0) {
            return IO_OK;
        }
        if (m_interrupted) {
            break;
        }
    }
    Close();
    m_failed = true;
    return IO_CONNECT_FAILED;
}

int CIOTcp::TestReachability(const in_addr& address) {
    char dotted[kHostSize];
    FormatDotted(address, dotted, sizeof dotted);
    stIoTimeLimits limits = GetIoTimeLimits();
    if (CPing().Ping(dotted, limits.echoAttempts, limits.echoTimeoutMs) == 1) {
        return IO_OK;
    }
    m_unreachable = true;
    m_failed = true;
    return IO_UNREACHABLE;
}

int CIOTcp::Connect(int attempts) {
    if (std::strlen(m_host) < kMinHostLength) {
        return IO_BAD_ADDRESS;
    }
    in_addr address{};
    if (int result = ResolveHost(address); result != IO_OK) {
        return result;
    }
    if (address.s_addr == htonl(INADDR_ANY) || address.s_addr == htonl(INADDR_BROADCAST)) {
        m_failed = true;
        return IO_BAD_ADDRESS;
    }
    int result = (GetExtOption() & IOEXT_NOPING) ? IO_OK : TestReachability(address);
    if (result == IO_OK) {
        result = TryConnect(address, attempts);
    }
    if (result != IO_OK) {
        WriteNetLog("Connect(%s:%u) failed: %s (%d)\r\n", m_host, m_port, IoResultText(result),
                    result);
    }
    return result;
}

int CIOTcp::Listen(const char* address) {
    in_addr bindAddress{};
    bindAddress.s_addr = htonl(INADDR_ANY);
    if (address != nullptr && inet_pton(AF_INET, address, &bindAddress) != 1) {
        return 0;
    }
    Close();
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_socket == kNoSocket) {
        return 0;
    }
    int on = 1;
    setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    const sockaddr_in local = MakeAddress(bindAddress, m_port);
    if (bind(m_socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        listen(m_socket, SOMAXCONN) != 0) {
        Close();
        return 0;
    }
    return 1;
}

std::unique_ptr<CIOBase> CIOTcp::Accept() {
    if (m_socket == kNoSocket || WaitSocket(m_socket, POLLIN, 0) != 1) {
        return nullptr;
    }
    sockaddr_in peer{};
    SocketLength peerLength = sizeof peer;
    SocketHandle accepted = accept(m_socket, reinterpret_cast<sockaddr*>(&peer), &peerLength);
    if (accepted == kNoSocket) {
        return nullptr;
    }
    SetNoDelay(accepted);
    char peerText[kHostSize] = {};
    FormatDotted(peer.sin_addr, peerText, sizeof peerText);
    return std::unique_ptr<CIOBase>(new CIOTcp(accepted, peerText, m_port, GetOption()));
}

int CIOTcp::GetPeerName(char* buffer, int size) {
    return FormatEndpoint(&getpeername, buffer, size);
}

int CIOTcp::GetSockName(char* buffer, int size) {
    return FormatEndpoint(&getsockname, buffer, size);
}

int CIOTcp::FormatEndpoint(EndpointQuery query, char* buffer, int size) const {
    sockaddr_in address{};
    SocketLength length = sizeof address;
    return m_socket != kNoSocket &&
                   query(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
                   FormatDotted(address.sin_addr, buffer, size)
               ? 1
               : 0;
}

int CIOTcp::GetLocalPort() {
    sockaddr_in address{};
    SocketLength length = sizeof address;
    if (m_socket == kNoSocket ||
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

// An orderly close by the peer still reads as alive until a read returns 0.
int CIOTcp::IsAlive() {
    if (m_socket == kNoSocket) {
        return 0;
    }
    int waiting = WaitSocket(m_socket, POLLIN, 0);
    if (waiting <= 0) {
        return waiting == 0 ? 1 : 0;
    }
    char peek[kPeekSize];
    auto got = recv(m_socket, peek, sizeof peek, MSG_PEEK | kNoWaitFlags);
    return got >= 0 || LastErrorWouldBlock() ? 1 : 0;
}

int CIOTcp::DrainIncoming() {
    while (WaitSocket(m_socket, POLLIN, 0) == 1) {
        if (!m_drain.MakeRoom()) {
            return IO_ERROR;
        }
        auto got = recv(m_socket, reinterpret_cast<char*>(m_drain.FreeSpace()), m_drain.FreeSize(),
                        kNoWaitFlags);
        if (got == 0) {
            return IO_CLOSED;
        }
        if (got < 0) {
            return LastErrorWouldBlock() ? IO_OK : IO_ERROR;
        }
        m_drain.Commit(static_cast<size_t>(got));
    }
    return IO_OK;
}

// Sends first and waits only when the socket would block: the wait is the
// same, the system call saved is not.
int CIOTcp::SendRaw(const uint8_t* data, size_t length) {
    if (m_socket == kNoSocket) {
        return IO_ERROR;
    }
    const int writableWaitMs = GetIoTimeLimits().writableWaitMs;
    while (length > 0) {
        auto sent = send(m_socket, reinterpret_cast<const char*>(data),
                         std::min(length, kSendPiece), kNoWaitFlags);
        if (sent > 0) {
            data += sent;
            length -= static_cast<size_t>(sent);
            continue;
        }
        if (sent == 0) {
            return IO_CLOSED;
        }
        if (!LastErrorWouldBlock()) {
            return IO_ERROR;
        }
        int writable = Wait(POLLOUT, writableWaitMs);
        if (writable < 0) {
            return IO_ERROR;
        }
        if (writable == 0) {
            if (int result = DrainIncoming(); result != IO_OK) {
                return result;
            }
        }
    }
    return IO_OK;
}

// A short read takes whatever has arrived into the drain buffer, so a block
// header and its payload usually come in with one system call.
long CIOTcp::ReceiveSome(uint8_t* data, size_t length) {
    if (length >= CDrainBuffer::kRoom || !m_drain.MakeRoom()) {
        return static_cast<long>(
            recv(m_socket, reinterpret_cast<char*>(data), length, kNoWaitFlags));
    }
    auto received = recv(m_socket, reinterpret_cast<char*>(m_drain.FreeSpace()), m_drain.FreeSize(),
                         kNoWaitFlags);
    if (received <= 0) {
        return static_cast<long>(received);
    }
    m_drain.Commit(static_cast<size_t>(received));
    return static_cast<long>(m_drain.Take(data, length));
}

// Most waits find their bytes already there: a receive first saves a poll
// for each message. True when the next read has something to report: bytes,
// the peer's close or a failure.
bool CIOTcp::ReceiveWithoutWaiting() {
    if (!m_drain.MakeRoom()) {
        return false;
    }
    const auto received = recv(m_socket, reinterpret_cast<char*>(m_drain.FreeSpace()),
                               m_drain.FreeSize(), kNoWaitFlags);
    if (received > 0) {
        m_drain.Commit(static_cast<size_t>(received));
    }
    return received >= 0 || !LastErrorWouldBlock();
}

int CIOTcp::ReadRaw(uint8_t* data, size_t length) {
    size_t got = m_drain.Take(data, length);
    if (got < length && m_socket == kNoSocket) {
        return IO_ERROR;
    }
    const auto idleLimit = std::chrono::milliseconds(GetIoTimeLimits().idleReadMs);
    auto lastByte = std::chrono::steady_clock::now();
    while (got < length) {
        long received = ReceiveSome(data + got, length - got);
        if (received > 0) {
            got += static_cast<size_t>(received);
            lastByte = std::chrono::steady_clock::now();
            continue;
        }
        if (received == 0) {
            return IO_CLOSED;
        }
        if (!LastErrorWouldBlock()) {
            return IO_ERROR;
        }
        auto left = std::chrono::ceil<std::chrono::milliseconds>(lastByte + idleLimit -
                                                                 std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return IO_READ_TIMEOUT;
        }
        if (Wait(POLLIN, static_cast<int>(left.count())) < 0) {
            return IO_ERROR;
        }
    }
    return IO_OK;
}

int CIOTcp::Wait(short events, int timeoutMs) {
    constexpr int kSliceMs = 100;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_interrupted) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        const int slice = static_cast<int>(std::clamp<int64_t>(left.count(), 0, kSliceMs));
        const int ready = WaitSocket(m_socket, events, slice);
        if (ready != 0 || left.count() <= kSliceMs) {
            return ready;
        }
    }
    return -1;
}

int WaitSocketReadable(intptr_t socket, int timeoutMs) {
    return WaitSocket(static_cast<SocketHandle>(socket), POLLIN, timeoutMs);
}

void ShutdownSocket(intptr_t socket) {
    if (static_cast<SocketHandle>(socket) != kNoSocket) {
        shutdown(static_cast<SocketHandle>(socket), kShutdownBoth);
    }
}

CSocketWaiter::CSocketWaiter() {
    SocketHandle ends[2];
    if (OpenSocketPair(ends)) {
        m_wakeReceiver = static_cast<intptr_t>(ends[0]);
        m_wakeSender = static_cast<intptr_t>(ends[1]);
    }
}

CSocketWaiter::~CSocketWaiter() {
    for (intptr_t end : {m_wakeReceiver, m_wakeSender}) {
        if (end != -1) {
            CloseSocket(static_cast<SocketHandle>(end));
        }
    }
}

// A full pipe of wakes already wakes the next wait, so a refused byte is lost
// to no one.
void CSocketWaiter::Wake() {
    if (m_wakeSender != -1) {
        const char wake = 1;
        send(static_cast<SocketHandle>(m_wakeSender), &wake, 1, kNoWaitFlags);
    }
}

void CSocketWaiter::TakeWakes() {
    char wakes[kPeekSize];
    while (recv(static_cast<SocketHandle>(m_wakeReceiver), wakes, sizeof wakes, kNoWaitFlags) ==
           static_cast<long>(sizeof wakes)) {
    }
}

enumSocketWait CSocketWaiter::Wait(intptr_t socket, int timeoutMs) {
    // Only the sockets there are: Winsock refuses to poll an invalid one.
    SocketPollFd fds[2] = {};
    SocketPollFd* wake = nullptr;
    SocketPollFd* input = nullptr;
    int count = 0;
    if (m_wakeReceiver != -1) {
        wake = &fds[count++];
        wake->fd = static_cast<SocketHandle>(m_wakeReceiver);
        wake->events = POLLIN;
    }
    if (socket != -1) {
        input = &fds[count++];
        input->fd = static_cast<SocketHandle>(socket);
        input->events = POLLIN;
    }
    if (PollSockets(fds, count, timeoutMs) < 0) {
        return enumSocketWait::Failed;
    }
    const bool woken = wake != nullptr && wake->revents != 0;
    if (woken) {
        TakeWakes();
    }
    if (input != nullptr && input->revents != 0) {
        return enumSocketWait::Readable;
    }
    return woken ? enumSocketWait::Woken : enumSocketWait::TimedOut;
}

int CIOTcp::WaitRx(int timeoutMs) {
    if (m_drain.Count() > 0) {
        return 1;
    }
    if (m_socket == kNoSocket) {
        return IO_ERROR;
    }
    if (ReceiveWithoutWaiting()) {
        return 1;
    }
    int readable = Wait(POLLIN, timeoutMs);
    return readable < 0 ? IO_ERROR : readable;
}

int CIOTcp::TransportReady() {
    if (m_drain.Count() > 0) {
        return static_cast<int>(std::min<size_t>(m_drain.Count(), INT_MAX));
    }
    return m_socket == kNoSocket ? -1 : WaitSocket(m_socket, POLLIN, 0);
}

}  // namespace hx
