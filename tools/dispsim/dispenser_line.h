#pragma once
// The dispenser on its pseudo-terminal: reads the kiosk's frames and writes
// each answer at once (the kiosk waits for it before its next command).

#include <string>
#include <string_view>

#include "platform/pseudo_terminal.h"
#include "tools/common/device_line.h"
#include "tools/dispsim/dispenser_console.h"

namespace hx {

class CDispenserLine : public CDeviceLine {
public:
    CDispenserLine(CPseudoTerminal& terminal, int cards, CToolJournal& journal);
    ~CDispenserLine() override { Stop(); }

private:
    void Serve(const std::atomic<bool>& stop) override;
    std::string RunConsoleLine(std::string_view line) override { return m_console.Execute(line); }
    bool ConsoleQuitAsked() const override { return m_console.QuitAsked(); }
    // Under the lock.
    void TakePiece(const stFramePiece& piece);

    CPseudoTerminal& m_terminal;
    CCardDispenser m_dispenser;
    CDispenserConsole m_console;
    CDispenserFrameReader m_reader;
};

}  // namespace hx
