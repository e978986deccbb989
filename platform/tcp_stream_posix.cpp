#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/tcp_listener.h"
#include "platform/tcp_stream.h"

namespace hx {

namespace {

int Descriptor(std::intptr_t socket) {
    return static_cast<int>(socket);
}

// Calls `transfer` on what is left until all of `bytes` has gone through it;
// false when the connection ended first.
template <typename Byte, typename Transfer>
bool TransferAll(std::span<Byte> bytes, Transfer transfer) {
    while (!bytes.empty()) {
        const ssize_t done = transfer(bytes);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(done));
    }
    return true;
}

}  // namespace

CTcpStream::~CTcpStream() {
    Close();
}

bool CTcpStream::ConnectPair(CTcpStream& client, CTcpStream& server) {
    CTcpListener listener;
    if (!listener.Listen("127.0.0.1", 0) || !client.Connect("127.0.0.1", listener.Port())) {
        return false;
    }
    const int on = 1;
    ::setsockopt(Descriptor(client.m_socket), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return listener.Accept(server, std::chrono::steady_clock::now() + std::chrono::seconds(5));
}

void CTcpStream::Adopt(std::intptr_t socket) {
    Close();
    m_socket = socket;
}

bool CTcpStream::Connect(const std::string& address, std::uint16_t port) {
    Close();
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1) {
        return false;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        ::close(fd);
        return false;
    }
    m_socket = fd;
    return true;
}

void CTcpStream::Close() {
    if (IsOpen()) {
        ::close(Descriptor(m_socket));
        m_socket = -1;
    }
}

bool CTcpStream::SendAll(std::span<const std::uint8_t> bytes) {
    const int fd = Descriptor(m_socket);
    return IsOpen() && TransferAll(bytes, [fd](std::span<const std::uint8_t> rest) {
               return ::send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
           });
}

bool CTcpStream::ReceiveSome(std::string& buffer, std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd waiting{Descriptor(m_socket), POLLIN, 0};
    if (!IsOpen() || left.count() <= 0 ||
        ::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
        return false;
    }
    char chunk[4096];
    const ssize_t got = ::recv(Descriptor(m_socket), chunk, sizeof chunk, 0);
    if (got <= 0) {
        return false;
    }
    buffer.append(chunk, static_cast<std::size_t>(got));
    return true;
}

bool CTcpStream::ReceiveExactly(std::span<std::uint8_t> bytes) {
    const int fd = Descriptor(m_socket);
    return IsOpen() && TransferAll(bytes, [fd](std::span<std::uint8_t> rest) {
               return ::recv(fd, rest.data(), rest.size(), 0);
           });
}

}  // namespace hx
