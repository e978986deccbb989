#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace hx {

namespace {

bool ToSockAddr(const std::string& address, uint16_t port, sockaddr_in& out) {
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    if (address.empty()) {
        out.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

std::string DottedAddress(const in_addr& address) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address.s_addr);
    return std::to_string(bytes[0]) + '.' + std::to_string(bytes[1]) + '.' +
           std::to_string(bytes[2]) + '.' + std::to_string(bytes[3]);
}

}  // namespace

CUdpSocket::~CUdpSocket() {
    Close();
}

bool CUdpSocket::Open() {
    if (IsOpen()) {
        return false;
    }
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    return IsOpen();
}

void CUdpSocket::Close() {
    if (IsOpen()) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool CUdpSocket::AllowBroadcast() {
    const int on = 1;
    return IsOpen() && ::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
}

bool CUdpSocket::Bind(const std::string& address, uint16_t port) {
    sockaddr_in local;
    if (!IsOpen() || !ToSockAddr(address, port, local)) {
        return false;
    }
    return ::bind(m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

uint16_t CUdpSocket::LocalPort() const {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (!IsOpen() || ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

int CUdpSocket::SendTo(std::span<const uint8_t> data, const std::string& address, uint16_t port) {
    sockaddr_in peer;
    if (!IsOpen() || address.empty() || !ToSockAddr(address, port, peer)) {
        return -1;
    }
    const ssize_t sent = ::sendto(m_fd, data.data(), data.size(), MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    return sent < 0 ? -1 : static_cast<int>(sent);
}

// Readiness rather than a byte count: the count reports only the first
// datagram, so an empty datagram at the head would hide every one behind it.
int CUdpSocket::HasDatagram(int waitMs) {
    if (!IsOpen()) {
        return -1;
    }
    pollfd entry{m_fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, waitMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0 || (entry.revents & (POLLERR | POLLNVAL)) != 0) {
        return -1;
    }
    return (entry.revents & POLLIN) != 0 ? 1 : 0;
}

int CUdpSocket::ReceiveFrom(std::span<uint8_t> buffer, stDatagramSender& sender) {
    if (!IsOpen()) {
        return -1;
    }
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    ssize_t received;
    do {
        received = ::recvfrom(m_fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                              reinterpret_cast<sockaddr*>(&peer), &length);
    } while (received < 0 && errno == EINTR);
    if (received < 0) {
        return -1;
    }
    sender.address = DottedAddress(peer.sin_addr);
    sender.port = ntohs(peer.sin_port);
    return static_cast<int>(received);
}

}  // namespace hx
