#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/icmp_socket.h"

namespace hx {

namespace {

int OpenKind(enumIcmpKind kind) {
    return ::socket(AF_INET, (kind == enumIcmpKind::Raw ? SOCK_RAW : SOCK_DGRAM) | SOCK_CLOEXEC,
                    IPPROTO_ICMP);
}

}  // namespace

CIcmpSocket::~CIcmpSocket() {
    if (m_socket >= 0) {
        ::close(static_cast<int>(m_socket));
    }
}

bool CIcmpSocket::IsOffered(enumIcmpKind kind) {
    const int probe = OpenKind(kind);
    if (probe < 0) {
        return false;
    }
    ::close(probe);
    return true;
}

CIcmpSocket::enumOpen CIcmpSocket::Open(enumIcmpKind kind, const char* host, int timeToLive) {
    in_addr address{};
    if (m_socket >= 0 || host == nullptr || ::inet_pton(AF_INET, host, &address) != 1) {
        return BAD_HOST;
    }
    const int s = OpenKind(kind);
    if (s < 0) {
        return REFUSED;
    }
    ::setsockopt(s, IPPROTO_IP, IP_TTL, &timeToLive, sizeof timeToLive);
    m_socket = s;
    m_host = address.s_addr;
    return OPENED;
}

bool CIcmpSocket::Send(std::span<const uint8_t> message) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = m_host;
    const ssize_t sent =
        ::sendto(static_cast<int>(m_socket), message.data(), message.size(), MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&target), sizeof target);
    return sent == static_cast<ssize_t>(message.size());
}

int CIcmpSocket::WaitReadable(int timeoutMs) {
    pollfd input{static_cast<int>(m_socket), POLLIN, 0};
    const int result = ::poll(&input, 1, timeoutMs);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int CIcmpSocket::Receive(std::span<uint8_t> buffer) {
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t got = ::recvfrom(static_cast<int>(m_socket), buffer.data(), buffer.size(),
                                   MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got < 0) {
        return -1;
    }
    return from.sin_addr.s_addr == m_host ? static_cast<int>(got) : 0;
}

}  // namespace hx
