#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

extern char** environ;

namespace hx {

namespace {

int SignalNumber(enumChildSignal signal) {
    switch (signal) {
        case enumChildSignal::Terminate:
            return SIGTERM;
        case enumChildSignal::Interrupt:
            return SIGINT;
        case enumChildSignal::Kill:
            return SIGKILL;
    }
    return SIGTERM;
}

std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// The caller's environment with the launch's entries put over it.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string name = NameOf(*entry);
        bool replaced = false;
        for (const std::string& mine : extra) {
            replaced = replaced || NameOf(mine) == name;
        }
        if (!replaced) {
            entries.emplace_back(*entry);
        }
    }
    entries.insert(entries.end(), extra.begin(), extra.end());
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Waits for the child to end without taking its status: exactly, through a
// process descriptor, where the system has them; else by looking again and
// again.
void WaitForEnd(pid_t pid, std::chrono::milliseconds limit) {
    const long descriptor = ::syscall(SYS_pidfd_open, pid, 0);
    if (descriptor < 0) {
        WaitUntil(
            [pid] {
                siginfo_t info{};
                return ::waitid(P_PID, static_cast<id_t>(pid), &info,
                                WEXITED | WNOHANG | WNOWAIT) == 0 &&
                       info.si_pid == pid;
            },
            limit);
        return;
    }
    pollfd ended{static_cast<int>(descriptor), POLLIN, 0};
    const auto ms = std::min<long long>(limit.count(), INT_MAX);
    while (::poll(&ended, 1, static_cast<int>(ms)) < 0 && errno == EINTR) {
    }
    ::close(static_cast<int>(descriptor));
}

// The wait status once the child has ended within `limit`, which reaps it.
std::optional<int> ReapWithin(pid_t pid, std::chrono::milliseconds limit) {
    WaitForEnd(pid, limit);
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) != pid) {
        return std::nullopt;
    }
    return status;
}

std::optional<int> ExitCodeOf(int status) {
    if (!WIFEXITED(status)) {
        return std::nullopt;
    }
    return WEXITSTATUS(status);
}

// The child starts with every signal at its default and none blocked, whatever
// the test's thread that starts it has set up for itself.
bool SetDefaultSignals(posix_spawnattr_t& attributes) {
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    return posix_spawnattr_setsigdefault(&attributes, &all) == 0 &&
           posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
           posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK) ==
               0;
}

bool AddOutputFile(posix_spawn_file_actions_t& actions, int descriptor,
                   const std::filesystem::path& file) {
    return file.empty() ||
           posix_spawn_file_actions_addopen(&actions, descriptor, file.c_str(),
                                            O_WRONLY | O_CREAT | O_TRUNC, 0644) == 0;
}

}  // namespace

struct CChildProcess::stState {
    pid_t pid = -1;
    int input = -1;  // our end of the child's input
    int status = 0;  // the wait status, once reaped
};

CChildProcess::CChildProcess() : m_state(std::make_unique<stState>()) {}

CChildProcess::~CChildProcess() {
    Stop();
}

bool CChildProcess::Start(const stChildLaunch& launch) {
    if (IsRunning() || launch.args.empty()) {
        return false;
    }
    // A socket rather than a pipe: writing after the child has gone then
    // fails instead of raising SIGPIPE in the test.
    int input[2] = {-1, -1};
    if (launch.withInput && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, input) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    bool ready = launch.withInput
                     ? posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO) == 0
                     : posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null",
                                                        O_RDONLY, 0) == 0;
    ready = ready && AddOutputFile(actions, STDOUT_FILENO, launch.outputFile) &&
            AddOutputFile(actions, STDERR_FILENO, launch.errorFile);
    // Last, so the output files above are named from the caller's folder.
    ready = ready &&
            (launch.workingFolder.empty() ||
             posix_spawn_file_actions_addchdir_np(&actions, launch.workingFolder.c_str()) == 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    ready = ready && SetDefaultSignals(attributes);

    std::vector<std::string> args = launch.args;
    std::vector<std::string> environment = ChildEnvironment(launch.environment);
    const std::vector<char*> argv = Pointers(args);
    const std::vector<char*> envp = Pointers(environment);
    pid_t pid = -1;
    const bool started =
        ready && posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data()) == 0;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (input[0] >= 0) {
        ::close(input[0]);
    }
    if (!started) {
        if (input[1] >= 0) {
            ::close(input[1]);
        }
        return false;
    }
    m_state->pid = pid;
    m_state->input = input[1];
    return true;
}

bool CChildProcess::IsRunning() const {
    return m_state->pid > 0;
}

std::optional<std::int64_t> CChildProcess::PeakMemoryKiB() const {
    if (!IsRunning()) {
        return std::nullopt;
    }
    std::ifstream status("/proc/" + std::to_string(m_state->pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::stoll(line.substr(6));
        }
    }
    return std::nullopt;
}

bool CChildProcess::Signal(enumChildSignal signal) {
    return IsRunning() && ::kill(m_state->pid, SignalNumber(signal)) == 0;
}

bool CChildProcess::WriteInput(std::string_view text) {
    while (m_state->input >= 0 && !text.empty()) {
        const ssize_t sent = ::send(m_state->input, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(sent));
    }
    return m_state->input >= 0;
}

void CChildProcess::CloseInput() {
    if (m_state->input >= 0) {
        ::close(m_state->input);
        m_state->input = -1;
    }
}

std::optional<int> CChildProcess::WaitForExit(std::chrono::milliseconds limit) {
    if (IsRunning()) {
        const std::optional<int> status = ReapWithin(m_state->pid, limit);
        if (!status) {
            return std::nullopt;
        }
        m_state->pid = -1;
        m_state->status = *status;
    }
    return ExitCodeOf(m_state->status);
}

std::optional<int> CChildProcess::Stop(std::chrono::milliseconds limit) {
    CloseInput();
    if (!IsRunning()) {
        return ExitCodeOf(m_state->status);
    }
    Signal(enumChildSignal::Terminate);
    if (const std::optional<int> code = WaitForExit(limit); code || !IsRunning()) {
        return code;
    }
    Signal(enumChildSignal::Kill);
    int status = 0;
    ::waitpid(m_state->pid, &status, 0);  // a killed process ends at once
    m_state->pid = -1;
    m_state->status = status;
    return std::nullopt;
}

int RunInForkedProcess(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid < 0) {
        return -1;
    }
    if (pid == 0) {
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return ExitCodeOf(status).value_or(-1);
}

}  // namespace hx
