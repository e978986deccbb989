#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tools/boardsim/pseudo_terminal.h"

namespace hx {

namespace {

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Settings on the master apply to the pair's one line discipline.
bool SetBoardLine(int descriptor) {
    termios line{};
    if (tcgetattr(descriptor, &line) != 0) {
        return false;
    }
    cfmakeraw(&line);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARODD);
    line.c_cflag |= CS8 | PARENB | CLOCAL | CREAD;
    cfsetispeed(&line, B9600);
    cfsetospeed(&line, B9600);
    return tcsetattr(descriptor, TCSANOW, &line) == 0;
}

}  // namespace

CPseudoTerminal::~CPseudoTerminal() {
    if (m_slave >= 0) {
        close(m_slave);
    }
    if (m_master >= 0) {
        close(m_master);
    }
}

bool CPseudoTerminal::Open(std::string& error) {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        error = Reason("posix_openpt");
        return false;
    }
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        error = Reason("grantpt/unlockpt");
        return false;
    }
    const char* name = ptsname(m_master);
    if (name == nullptr) {
        error = Reason("ptsname");
        return false;
    }
    m_slavePath = name;
    m_slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        error = Reason(name);
        return false;
    }
    const int flags = fcntl(m_master, F_GETFL);
    if (!SetBoardLine(m_master) || flags < 0 || fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = Reason("line settings");
        return false;
    }
    return true;
}

bool CPseudoTerminal::Read(std::vector<uint8_t>& bytes, std::chrono::milliseconds limit) {
    pollfd waiting{m_master, POLLIN, 0};
    const int ready = poll(&waiting, 1, static_cast<int>(limit.count()));
    if (ready < 0) {
        return errno == EINTR;
    }
    if (ready == 0) {
        return true;
    }
    uint8_t buffer[256];
    const ssize_t count = read(m_master, buffer, sizeof buffer);
    if (count < 0) {
        return errno == EAGAIN || errno == EINTR;
    }
    bytes.insert(bytes.end(), buffer, buffer + count);
    return true;
}

long CPseudoTerminal::Write(std::span<const uint8_t> bytes) {
    const ssize_t count = write(m_master, bytes.data(), bytes.size());
    if (count < 0) {
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
    }
    return static_cast<long>(count);
}

}  // namespace hx
