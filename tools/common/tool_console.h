#pragma once
// The console of a tool (the front-desk server, the device simulators):
// command lines from standard input, one run at a time, each reply written
// to standard output; other sources (a control socket) run commands the
// same way. The main thread waits in its message loop until a quit signal
// or a command asks it to end.
//
// A read of standard input cannot be interrupted, so the reader is detached
// and outlives the tool's objects: it reaches them only between ServeConsole
// and CloseConsole, and its end of input ends only the reading.

#include <functional>
#include <optional>
#include <string>

namespace hx {

using ConsoleCommand = std::function<std::string(const std::string& line)>;

// Starts the reader; commands go to `command` until CloseConsole.
void ServeConsole(ConsoleCommand command);
// The reply, or nullopt once the console is closed (or before it serves).
std::optional<std::string> RunConsoleCommand(const std::string& line);
// Returns once no command runs, and none will.
void CloseConsole();

// The main thread's wait for the end: quit signals (SIGTERM, SIGINT) are
// taken while it exists, and Wait runs the message loop until one came or
// RequestToolQuit was called from any thread.
class CToolQuit {
public:
    CToolQuit();
    ~CToolQuit();
    CToolQuit(const CToolQuit&) = delete;
    CToolQuit& operator=(const CToolQuit&) = delete;

    void Wait();
    // The signals stay taken until the process ends, so one that follows
    // "quit" at once never cuts the last of the cleanup short.
    void HoldUntilExit() { m_held = true; }

private:
    bool m_held = false;
};

void RequestToolQuit();

}  // namespace hx
