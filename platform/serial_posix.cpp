#include "platform/serial.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>

#include "platform/serial_line_errors.h"
#include "platform/serial_port_name.h"
#include "platform/serial_termios.h"

namespace hx {

// The descriptor, and an edge-triggered epoll set over it and a wake-up
// counter. Edge-triggered because a comm event means "bytes arrived": the
// window reads them only after its settle time, and a level-triggered wait
// would report the same unread bytes again and again meanwhile.
struct CSerial::stPort {
    int fd = -1;
    int events = -1;
    int wake = -1;
    stLineErrorCounts counts;

    ~stPort() {
        for (const int descriptor : {wake, events, fd}) {
            if (descriptor >= 0) {
                ::close(descriptor);
            }
        }
    }
};

namespace {

using Clock = std::chrono::steady_clock;

LONG Win32ErrorOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENXIO:
        case ENODEV:
            return ERROR_FILE_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EBUSY:
        case EWOULDBLOCK:
            return ERROR_ACCESS_DENIED;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case EIO:
            return ERROR_DEVICE_NOT_CONNECTED;  // how a tty tells a hang-up
        default:
            return ERROR_GEN_FAILURE;
    }
}

LONG LastSystemError() {
    return Win32ErrorOf(errno);
}

// Opens a terminal device for this descriptor alone: a lock that every
// holder takes, and the terminal's exclusive mode for programs that do not.
LONG OpenExclusive(std::string_view port, int* fd) {
    const std::filesystem::path path = ResolveSerialPortPath(port);
    if (path.empty()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const int descriptor = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return LastSystemError();
    }
    LONG result = ERROR_SUCCESS;
    if (!::isatty(descriptor)) {
        result = ERROR_FILE_NOT_FOUND;
    } else if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        result = LastSystemError();
    }
    if (result != ERROR_SUCCESS) {
        ::close(descriptor);
        return result;
    }
    ::ioctl(descriptor, TIOCEXCL);
    *fd = descriptor;
    return ERROR_SUCCESS;
}

// Let the next holder in: the exclusive mode outlives our descriptor while
// the other side of a pseudo-terminal stays open.
void CloseExclusive(int fd) {
    ::ioctl(fd, TIOCNXCL);
}

stLineErrorCounts ReadErrorCounts(int fd, bool* known) {
    serial_icounter_struct counter{};
    *known = ::ioctl(fd, TIOCGICOUNT, &counter) == 0;
    stLineErrorCounts counts;
    if (*known) {
        counts.frame = static_cast<unsigned>(counter.frame);
        counts.overrun = static_cast<unsigned>(counter.overrun);
        counts.parity = static_cast<unsigned>(counter.parity);
        counts.breaks = static_cast<unsigned>(counter.brk);
        counts.bufferOverrun = static_cast<unsigned>(counter.buf_overrun);
    }
    return counts;
}

int PollTimeout(Clock::time_point deadline, DWORD timeoutMs) {
    if (timeoutMs == INFINITE) {
        return -1;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until the descriptor is ready for `what`; ERROR_TIMEOUT when the time is up.
LONG WaitReady(int fd, short what, Clock::time_point deadline, DWORD timeoutMs) {
    for (;;) {
        pollfd entry{fd, what, 0};
        const int ready = ::poll(&entry, 1, PollTimeout(deadline, timeoutMs));
        if (ready > 0) {
            return ERROR_SUCCESS;
        }
        if (ready == 0) {
            return ERROR_TIMEOUT;
        }
        if (errno != EINTR) {
            return LastSystemError();
        }
    }
}

// Reads the line, lets `change` edit it, writes it back; a refused edit
// writes nothing.
LONG ChangeLine(int fd, const std::function<LONG(termios&)>& change) {
    termios attributes{};
    if (::tcgetattr(fd, &attributes) != 0) {
        return LastSystemError();
    }
    if (const LONG result = change(attributes); result != ERROR_SUCCESS) {
        return result;
    }
    return ::tcsetattr(fd, TCSANOW, &attributes) == 0 ? ERROR_SUCCESS : LastSystemError();
}

bool AddToEvents(int events, int fd, std::uint32_t flags) {
    epoll_event entry{};
    entry.events = flags;
    entry.data.fd = fd;
    return ::epoll_ctl(events, EPOLL_CTL_ADD, fd, &entry) == 0;
}

}  // namespace

CSerial::CSerial() = default;

CSerial::~CSerial() {
    Close();
}

LONG CSerial::Open(std::string_view port, DWORD /*inQueue*/, DWORD /*outQueue*/, bool overlapped) {
    if (IsOpen()) {
        return SetResult(ERROR_ALREADY_INITIALIZED);
    }
    auto opened = std::make_unique<stPort>();
    if (const LONG result = OpenExclusive(port, &opened->fd); result != ERROR_SUCCESS) {
        return SetResult(result);
    }
    opened->events = ::epoll_create1(EPOLL_CLOEXEC);
    opened->wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (opened->events < 0 || opened->wake < 0 ||
        !AddToEvents(opened->events, opened->fd, EPOLLIN | EPOLLET) ||
        !AddToEvents(opened->events, opened->wake, EPOLLIN)) {
        const LONG result = LastSystemError();
        CloseExclusive(opened->fd);
        return SetResult(result);
    }
    bool countsKnown = false;
    opened->counts = ReadErrorCounts(opened->fd, &countsKnown);
    m_port = std::move(opened);
    m_overlapped = overlapped;
    m_lastEvents = 0;
    SetEventMask(kSerialDefaultEventMask);
    SetReadMode(ReadModeNonblocking);
    // The default line, as a fresh Windows port has; a device that refuses
    // it keeps its own until Setup.
    termios attributes{};
    if (::tcgetattr(m_port->fd, &attributes) == 0) {
        MakeRawLine(attributes);
        ApplyLineSetup(stLineSetup{}, attributes);
        ::tcsetattr(m_port->fd, TCSANOW, &attributes);
    }
    return SetResult(ERROR_SUCCESS);
}

LONG CSerial::Close() {
    if (m_port) {
        CloseExclusive(m_port->fd);
        m_port.reset();
    }
    m_lastEvents = 0;
    return SetResult(ERROR_SUCCESS);
}

LONG CSerial::CheckUsable(DWORD timeoutMs) {
    if (!IsOpen()) {
        return ERROR_INVALID_HANDLE;
    }
    if (!m_overlapped && timeoutMs != INFINITE) {
        return ERROR_INVALID_FUNCTION;
    }
    return ERROR_SUCCESS;
}

LONG CSerial::Setup(DWORD baudRate, BYTE dataBits, BYTE parity, BYTE stopBits) {
    if (!IsOpen()) {
        return SetResult(ERROR_INVALID_HANDLE);
    }
    return SetResult(ChangeLine(m_port->fd, [&](termios& attributes) {
        return ApplyLineSetup({baudRate, dataBits, parity, stopBits}, attributes);
    }));
}

LONG CSerial::SetHandshake(DWORD mode) {
    if (!IsOpen()) {
        return SetResult(ERROR_INVALID_HANDLE);
    }
    return SetResult(ChangeLine(
        m_port->fd, [mode](termios& attributes) { return ApplyHandshake(mode, attributes); }));
}

LONG CSerial::SetReadMode(DWORD mode) {
    if (!IsOpen()) {
        return SetResult(ERROR_INVALID_HANDLE);
    }
    if (mode > ReadModeBlocking) {
        return SetResult(E_INVALIDARG);
    }
    m_readMode = mode;
    return SetResult(ERROR_SUCCESS);
}

LONG CSerial::SetEventCharacter(BYTE character, bool adjustMask) {
    if (!IsOpen()) {
        return SetResult(ERROR_INVALID_HANDLE);
    }
    m_eventCharacter = character;
    if (adjustMask) {
        return SetEventMask(m_eventMask.load() | EV_RXFLAG);
    }
    return SetResult(ERROR_SUCCESS);
}

LONG CSerial::SetEventMask(DWORD mask) {
    if (!IsOpen()) {
        return SetResult(ERROR_INVALID_HANDLE);
    }
    m_eventMask = mask;
    const std::uint64_t one = 1;
    if (::write(m_port->wake, &one, sizeof one) < 0 && errno != EAGAIN) {
        return SetResult(LastSystemError());
    }
    return SetResult(ERROR_SUCCESS);
}

LONG CSerial::WaitForEvent(DWORD timeoutMs) {
    if (const LONG result = CheckUsable(timeoutMs); result != ERROR_SUCCESS) {
        return SetResult(result);
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    epoll_event ready[2];
    int count = 0;
    do {
        count = ::epoll_wait(m_port->events, ready, 2, PollTimeout(deadline, timeoutMs));
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        return SetResult(LastSystemError());
    }
    if (count == 0) {
        return SetResult(ERROR_TIMEOUT);
    }
    DWORD events = 0;
    for (int i = 0; i < count; ++i) {
        if (ready[i].data.fd == m_port->wake) {
            std::uint64_t drained = 0;
            [[maybe_unused]] const ssize_t ignored = ::read(m_port->wake, &drained, sizeof drained);
        } else if ((ready[i].events & (EPOLLHUP | EPOLLERR)) != 0) {
            return SetResult(ERROR_DEVICE_NOT_CONNECTED);
        } else {
            events |= EV_RXCHAR;
        }
    }
    m_lastEvents = events;
    return SetResult(ERROR_SUCCESS);
}

LONG CSerial::FetchCommErrors(DWORD* errors) {
    *errors = 0;
    if (!IsOpen()) {
        return SetResult(ERROR_INVALID_HANDLE);
    }
    // A device that keeps no counts (a pseudo-terminal) simply has no line errors.
    bool known = false;
    const stLineErrorCounts now = ReadErrorCounts(m_port->fd, &known);
    if (known) {
        *errors = CommErrorsBetween(m_port->counts, now);
        m_port->counts = now;
    }
    return SetResult(ERROR_SUCCESS);
}

DWORD CSerial::TakeEvents() {
    return m_lastEvents.exchange(0) & m_eventMask.load();
}

LONG CSerial::Write(const void* data, std::size_t length, DWORD* count, DWORD timeoutMs) {
    if (count != nullptr) {
        *count = 0;
    }
    if (const LONG result = CheckUsable(timeoutMs); result != ERROR_SUCCESS) {
        return SetResult(result);
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    LONG result = ERROR_SUCCESS;
    while (done < length && result == ERROR_SUCCESS) {
        const ssize_t written = ::write(m_port->fd, bytes + done, length - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EAGAIN) {
            result = WaitReady(m_port->fd, POLLOUT, deadline, timeoutMs);
        } else if (written < 0 && errno != EINTR) {
            result = LastSystemError();
        }
    }
    if (count != nullptr) {
        *count = static_cast<DWORD>(done);
    }
    return SetResult(result);
}

LONG CSerial::WriteText(const char* text, DWORD* count, DWORD timeoutMs) {
    return Write(text, std::strlen(text), count, timeoutMs);
}

LONG CSerial::Read(void* buffer, std::size_t capacity, DWORD* count, DWORD timeoutMs) {
    if (count != nullptr) {
        *count = 0;
    }
    if (const LONG result = CheckUsable(timeoutMs); result != ERROR_SUCCESS) {
        return SetResult(result);
    }
    auto* bytes = static_cast<unsigned char*>(buffer);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    LONG result = ERROR_SUCCESS;
    while (done < capacity && result == ERROR_SUCCESS) {
        const ssize_t got = ::read(m_port->fd, bytes + done, capacity - done);
        if (got > 0) {
            done += static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && errno != EAGAIN) {
            result = LastSystemError();
        } else if (m_readMode == ReadModeNonblocking) {
            break;
        } else {
            result = WaitReady(m_port->fd, POLLIN, deadline, timeoutMs);
        }
    }
    if (count != nullptr) {
        *count = static_cast<DWORD>(done);
    }
    return SetResult(result);
}

LONG CSerial::Purge() {
    if (!IsOpen()) {
        return SetResult(ERROR_INVALID_HANDLE);
    }
    return SetResult(::tcflush(m_port->fd, TCIOFLUSH) == 0 ? ERROR_SUCCESS : LastSystemError());
}

bool CSerial::ModemLineOn(DWORD statusBit) {
    if (!IsOpen()) {
        SetResult(ERROR_INVALID_HANDLE);
        return false;
    }
    int lines = 0;
    if (::ioctl(m_port->fd, TIOCMGET, &lines) != 0) {
        SetResult(LastSystemError());
        return false;
    }
    SetResult(ERROR_SUCCESS);
    const int line = statusBit == MS_CTS_ON   ? TIOCM_CTS
                     : statusBit == MS_DSR_ON ? TIOCM_DSR
                                              : TIOCM_CAR;
    return (lines & line) != 0;
}

bool CSerial::IsCtsOn() {
    return ModemLineOn(MS_CTS_ON);
}

bool CSerial::IsDsrOn() {
    return ModemLineOn(MS_DSR_ON);
}

bool CSerial::IsRlsdOn() {
    return ModemLineOn(MS_RLSD_ON);
}

bool CSerial::CurrentLine(stLineSetup* setup, DWORD* handshake) {
    termios attributes{};
    if (!IsOpen() || ::tcgetattr(m_port->fd, &attributes) != 0) {
        return false;
    }
    *setup = LineSetupOf(attributes);
    *handshake = HandshakeOf(attributes);
    return true;
}

DWORD CSerial::QueryBaudRate() {
    stLineSetup setup;
    DWORD handshake = 0;
    return CurrentLine(&setup, &handshake) ? setup.baudRate : 0;
}

BYTE CSerial::QueryDataBits() {
    stLineSetup setup;
    DWORD handshake = 0;
    return CurrentLine(&setup, &handshake) ? setup.dataBits : 0;
}

BYTE CSerial::QueryParity() {
    stLineSetup setup;
    DWORD handshake = 0;
    return CurrentLine(&setup, &handshake) ? setup.parity : NOPARITY;
}

BYTE CSerial::QueryStopBits() {
    stLineSetup setup;
    DWORD handshake = 0;
    return CurrentLine(&setup, &handshake) ? setup.stopBits : ONESTOPBIT;
}

DWORD CSerial::QueryHandshake() {
    stLineSetup setup;
    DWORD handshake = HandshakeOff;
    CurrentLine(&setup, &handshake);
    return handshake;
}

DWORD CSerial::QueryEventMask() {
    return m_eventMask.load();
}

BYTE CSerial::QueryEventCharacter() {
    return m_eventCharacter;
}

int CSerial::CheckPort(std::string_view port) {
    int fd = -1;
    const LONG result = OpenExclusive(port, &fd);
    if (result == ERROR_SUCCESS) {
        CloseExclusive(fd);
        ::close(fd);
        return 0;
    }
    if (result == ERROR_FILE_NOT_FOUND) {
        return 1;
    }
    return result == ERROR_ACCESS_DENIED ? 2 : -1;
}

}  // namespace hx
