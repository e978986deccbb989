#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/tcp_listener.h"

namespace hx {

CTcpListener::~CTcpListener() {
    Close();
}

bool CTcpListener::Listen(const std::string& address, std::uint16_t port) {
    Close();
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1) {
        return false;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        ::listen(fd, SOMAXCONN) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    m_socket = fd;
    return true;
}

void CTcpListener::Close() {
    if (m_socket >= 0) {
        ::close(static_cast<int>(m_socket));
        m_socket = -1;
    }
}

std::uint16_t CTcpListener::Port() const {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (m_socket < 0 || ::getsockname(static_cast<int>(m_socket),
                                      reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

bool CTcpListener::Accept(CTcpStream& stream, std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd waiting{static_cast<int>(m_socket), POLLIN, 0};
    if (m_socket < 0 || left.count() <= 0 ||
        ::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
        return false;
    }
    const int accepted = ::accept4(static_cast<int>(m_socket), nullptr, nullptr, SOCK_CLOEXEC);
    if (accepted < 0) {
        return false;
    }
    stream.Adopt(accepted);
    return true;
}

}  // namespace hx
