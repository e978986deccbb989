#pragma once
// A simulated device's side of its serial line: a thread of its own plays
// the device, and console lines from another thread are carried out under
// the same lock, so a scripted event never lands inside a command's answer.
// Every console line and its reply go to the journal.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/pseudo_terminal.h"
#include "tools/common/tool_journal.h"

namespace hx {

class CDeviceLine {
public:
    explicit CDeviceLine(CToolJournal& journal) : m_journal(journal) {}
    // A line must be stopped before it goes: a derived line's destructor calls Stop.
    virtual ~CDeviceLine() = default;
    CDeviceLine(const CDeviceLine&) = delete;
    CDeviceLine& operator=(const CDeviceLine&) = delete;

    void Start();
    void Stop();
    // Runs one console line; its reply.
    std::string Execute(std::string_view line);
    bool QuitAsked();

protected:
    // The thread: plays the device until `stop` is set, taking m_mutex
    // around all it does to the device.
    virtual void Serve(const std::atomic<bool>& stop) = 0;
    // Under m_mutex.
    virtual std::string RunConsoleLine(std::string_view line) = 0;
    virtual bool ConsoleQuitAsked() const = 0;

    // For a device that only answers what it reads: reads the terminal until
    // `stop` is set or the line fails ("line failed" is journalled). Each
    // read's bytes go to `take` under m_mutex, and so does an empty read once
    // the line has been quiet for `quiet`.
    void ReadUntilStopped(CPseudoTerminal& terminal, const std::atomic<bool>& stop,
                          std::chrono::milliseconds quiet,
                          const std::function<void(const std::vector<uint8_t>& bytes)>& take);

    CToolJournal& m_journal;
    std::mutex m_mutex;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace hx
