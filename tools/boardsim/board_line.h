#pragma once
// Runs the board on its pseudo-terminal on a thread of its own: reads the
// kiosk's commands, lets the board answer them, and writes what the outbox
// has due. Console lines come from another thread and are carried out under
// the same lock, so a scripted note never lands inside a command's answer.

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/pseudo_terminal.h"
#include "tools/boardsim/board_console.h"
#include "tools/common/device_simulator.h"
#include "tools/common/tool_journal.h"

namespace hx {

class CBoardLine : public IDeviceLine {
public:
    CBoardLine(CPseudoTerminal& terminal, const stBoardState& board, std::chrono::milliseconds gap,
               CToolJournal& journal);
    ~CBoardLine() override;
    CBoardLine(const CBoardLine&) = delete;
    CBoardLine& operator=(const CBoardLine&) = delete;

    void Start() override;
    void Stop() override;
    std::string Execute(std::string_view line) override;
    bool QuitAsked() override;

private:
    void Run();
    // Under the lock.
    void TakeBytes(const std::vector<uint8_t>& bytes);
    void WriteDue();

    CPseudoTerminal& m_terminal;
    CToolJournal& m_journal;
    std::mutex m_mutex;
    CBoardOutbox m_outbox;
    CControlBoard m_board;
    CBoardConsole m_console;
    CBoardCommandReader m_reader;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace hx
