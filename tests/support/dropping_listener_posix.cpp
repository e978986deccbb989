#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/dropping_listener.h"

namespace hx {

namespace {

// More than a backlog of 0 holds; the rest of the fillers' attempts hang too.
constexpr int kFillers = 3;

sockaddr_in LoopbackAddress(const std::string& address, std::uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(port);
    ::inet_pton(AF_INET, address.c_str(), &socketAddress.sin_addr);
    return socketAddress;
}

}  // namespace

CDroppingListener::~CDroppingListener() {
    Close();
}

bool CDroppingListener::Open(const std::string& address, std::uint16_t port) {
    Close();
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        return false;
    }
    m_listener = listener;
    const int on = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local = LoopbackAddress(address, port);
    socklen_t length = sizeof local;
    if (::bind(listener, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        ::listen(listener, 0) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        Close();
        return false;
    }
    m_port = ntohs(local.sin_port);
    // Connections nobody accepts fill the queue; they are never waited for.
    const sockaddr_in target = LoopbackAddress(address, m_port);
    for (int i = 0; i < kFillers; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (filler >= 0) {
            ::connect(filler, reinterpret_cast<const sockaddr*>(&target), sizeof target);
            m_fillers.push_back(filler);
        }
    }
    return true;
}

void CDroppingListener::Close() {
    for (const std::intptr_t filler : m_fillers) {
        ::close(static_cast<int>(filler));
    }
    m_fillers.clear();
    if (m_listener >= 0) {
        ::close(static_cast<int>(m_listener));
        m_listener = -1;
    }
    m_port = 0;
}

}  // namespace hx
