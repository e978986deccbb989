#include "platform/quit_signals.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <iterator>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "platform/message_loop.h"

namespace hx {

namespace {

// The handler only writes a byte into a pipe; a helper thread reads it and
// posts the message, since a signal handler may not lock or allocate.
constexpr unsigned char kSignalByte = 1;
constexpr unsigned char kStopByte = 0;
constexpr int kQuitSignals[] = {SIGTERM, SIGINT};

struct stSignalPipe {
    int readFd;
    int writeFd;
};

// Made once and never closed, so a handler still running on another thread
// while we uninstall cannot write into a reused descriptor.
std::optional<stSignalPipe> SignalPipe() {
    static const std::optional<stSignalPipe> made = []() -> std::optional<stSignalPipe> {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            return std::nullopt;
        }
        // The handler must never block, even on a full pipe.
        ::fcntl(fds[1], F_SETFL, ::fcntl(fds[1], F_GETFL) | O_NONBLOCK);
        return stSignalPipe{fds[0], fds[1]};
    }();
    return made;
}

std::atomic<int> g_signalWriteFd{-1};

void OnQuitSignal(int) {
    const int savedErrno = errno;
    const unsigned char byte = kSignalByte;
    [[maybe_unused]] const ssize_t written = ::write(g_signalWriteFd.load(), &byte, 1);
    errno = savedErrno;
}

struct stInstallation {
    std::thread reader;
    struct sigaction previous[std::size(kQuitSignals)];
};

// Never destroyed: a process that exits without uninstalling must not meet
// the destructor of a running std::thread.
std::mutex& InstallMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::optional<stInstallation>& Installation() {
    static auto* installation = new std::optional<stInstallation>;
    return *installation;
}

void ReadSignals(int readFd, std::uint32_t threadId, UINT message) {
    while (true) {
        unsigned char byte = 0;
        const ssize_t got = ::read(readFd, &byte, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 || byte == kStopByte) {
            return;
        }
        PostThreadMessage(threadId, message, 0, 0);
    }
}

void WriteStopByte(int writeFd) {
    const unsigned char byte = kStopByte;
    // The reader drains the pipe, so a full pipe empties soon.
    while (::write(writeFd, &byte, 1) != 1) {
        std::this_thread::yield();
    }
}

}  // namespace

bool InstallQuitSignals(std::uint32_t threadId, UINT message) {
    std::lock_guard lock(InstallMutex());
    std::optional<stInstallation>& installed = Installation();
    const std::optional<stSignalPipe> pipe = SignalPipe();
    if (installed || !pipe) {
        return false;
    }
    stInstallation installation;
    try {
        installation.reader = std::thread(ReadSignals, pipe->readFd, threadId, message);
    } catch (const std::system_error&) {
        return false;
    }
    g_signalWriteFd.store(pipe->writeFd);
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kQuitSignals); ++i) {
        ::sigaction(kQuitSignals[i], &action, &installation.previous[i]);
    }
    installed = std::move(installation);
    return true;
}

void UninstallQuitSignals() {
    std::lock_guard lock(InstallMutex());
    std::optional<stInstallation>& installed = Installation();
    if (!installed) {
        return;
    }
    for (std::size_t i = 0; i < std::size(kQuitSignals); ++i) {
        ::sigaction(kQuitSignals[i], &installed->previous[i], nullptr);
    }
    WriteStopByte(SignalPipe()->writeFd);
    installed->reader.join();
    installed.reset();
}

}  // namespace hx
