#pragma once
// For tests and benchmarks: a program run as a child process. Its input is a
// pipe the caller writes to, or empty; its output and error output go to
// files the caller names, or stay the caller's own. It can be signalled and
// waited for within a bound, and it is ended and reaped when the object goes,
// so a broken program fails a test instead of hanging it or outliving it.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/wait_until.h"

namespace hx {

enum class enumChildSignal { Terminate, Interrupt, Kill };

struct stChildLaunch {
    // The program first; a name without a folder is looked up on the search path.
    std::vector<std::string> args;
    // "NAME=value" entries on top of the caller's own environment.
    std::vector<std::string> environment;
    bool withInput = false;            // else the child reads an empty input
    std::filesystem::path outputFile;  // empty: the caller's own output
    std::filesystem::path errorFile;   // empty: the caller's own error output
    // Where the child starts; empty: the caller's own folder. A relative
    // program path is then looked up from there.
    std::filesystem::path workingFolder;
};

class CChildProcess {
public:
    CChildProcess();
    // Ends the child as Stop does.
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // False when the program could not be started, or this object runs one already.
    bool Start(const stChildLaunch& launch);
    // Started and not yet reaped.
    bool IsRunning() const;
    // The child's peak resident memory so far (the system's high-water mark),
    // in KiB; nullopt when it does not run or the system does not tell.
    std::optional<std::int64_t> PeakMemoryKiB() const;

    bool Signal(enumChildSignal signal);
    // False without an input pipe or when the child no longer reads it.
    bool WriteInput(std::string_view text);
    // The child sees the end of its input.
    void CloseInput();

    // The exit code once the child has ended by itself. nullopt when it was
    // ended by a signal or still runs after `limit` (it is left running).
    std::optional<int> WaitForExit(std::chrono::milliseconds limit = kTestPatience);
    // Closes the input and asks the child to end (Terminate); one that has not
    // ended after `limit` is killed. Always reaps. The exit code as WaitForExit.
    std::optional<int> Stop(std::chrono::milliseconds limit = kTestPatience);

private:
    struct stState;
    std::unique_ptr<stState> m_state;
};

// Runs `body` in a copy of this process made by forking it; the copy's exit
// code is what `body` returns. -1 when no copy could be made or it did not
// end normally.
int RunInForkedProcess(const std::function<int()>& body);

}  // namespace hx
