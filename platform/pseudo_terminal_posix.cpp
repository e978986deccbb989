#include "platform/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace hx {

namespace {

std::string Reason(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Settings on the master apply to the pair's one line discipline.
bool SetBoardLine(int descriptor) {
    termios line{};
    if (::tcgetattr(descriptor, &line) != 0) {
        return false;
    }
    ::cfmakeraw(&line);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARODD);
    line.c_cflag |= CS8 | PARENB | CLOCAL | CREAD;
    ::cfsetispeed(&line, B9600);
    ::cfsetospeed(&line, B9600);
    return ::tcsetattr(descriptor, TCSANOW, &line) == 0;
}

}  // namespace

CPseudoTerminal::CPseudoTerminal() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master < 0) {
        return;
    }
    const char* name =
        ::grantpt(master) == 0 && ::unlockpt(master) == 0 ? ::ptsname(master) : nullptr;
    if (name == nullptr) {
        ::close(master);
        return;
    }
    m_slavePath = name;
    m_master = master;
}

CPseudoTerminal::~CPseudoTerminal() {
    if (m_slave >= 0) {
        ::close(m_slave);
    }
    CloseMaster();
}

bool CPseudoTerminal::KeepLineUp(std::string& error) {
    if (m_master < 0) {
        error = "no pseudo-terminal";
        return false;
    }
    if (m_slave < 0) {
        m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    if (m_slave < 0) {
        error = Reason(m_slavePath);
        return false;
    }
    if (!SetBoardLine(m_master)) {
        error = Reason("line settings");
        return false;
    }
    return true;
}

bool CPseudoTerminal::ReadSome(std::vector<uint8_t>& bytes, std::chrono::milliseconds limit) {
    pollfd waiting{m_master, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(limit.count()));
    if (ready <= 0) {
        return ready == 0 || errno == EINTR;
    }
    uint8_t buffer[256];
    const ssize_t count = ::read(m_master, buffer, sizeof buffer);
    if (count < 0) {
        return errno == EAGAIN || errno == EINTR;
    }
    bytes.insert(bytes.end(), buffer, buffer + count);
    return count > 0 || m_slave >= 0;
}

std::string CPseudoTerminal::Read(std::size_t count, std::chrono::milliseconds limit) {
    std::vector<uint8_t> received;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (m_master >= 0 && received.size() < count) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const size_t before = received.size();
        if (left.count() <= 0 || !ReadSome(received, left)) {
            break;
        }
        if (received.size() == before && std::chrono::steady_clock::now() >= deadline) {
            break;
        }
    }
    return std::string(received.begin(), received.end());
}

long CPseudoTerminal::Write(std::span<const uint8_t> bytes) {
    const ssize_t count = ::write(m_master, bytes.data(), bytes.size());
    if (count < 0) {
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
    }
    return static_cast<long>(count);
}

bool CPseudoTerminal::WriteAll(std::string_view bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    return m_master >= 0 && Write({data, bytes.size()}) == static_cast<long>(bytes.size());
}

void CPseudoTerminal::CloseMaster() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

}  // namespace hx
