#pragma once
// The board on its pseudo-terminal: reads the kiosk's commands, lets the
// board answer them, and writes what the outbox has due.

#include <chrono>
#include <string>
#include <string_view>

#include "platform/pseudo_terminal.h"
#include "tools/boardsim/board_console.h"
#include "tools/common/device_line.h"

namespace hx {

class CBoardLine : public CDeviceLine {
public:
    CBoardLine(CPseudoTerminal& terminal, const stBoardState& board, std::chrono::milliseconds gap,
               CToolJournal& journal);
    ~CBoardLine() override { Stop(); }

private:
    void Serve(const std::atomic<bool>& stop) override;
    std::string RunConsoleLine(std::string_view line) override { return m_console.Execute(line); }
    bool ConsoleQuitAsked() const override { return m_console.QuitAsked(); }
    // Under the lock.
    void TakeBytes(const std::vector<uint8_t>& bytes);
    void WriteDue();

    CPseudoTerminal& m_terminal;
    CBoardOutbox m_outbox;
    CControlBoard m_board;
    CBoardConsole m_console;
    CBoardCommandReader m_reader;
};

}  // namespace hx
