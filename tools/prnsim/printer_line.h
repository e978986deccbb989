#pragma once
// The printer on its pseudo-terminal: reads what the kiosk writes, answers
// each status request the moment it is read, and files each document that
// ends.

#include <string>
#include <string_view>

#include "platform/pseudo_terminal.h"
#include "tools/common/device_line.h"
#include "tools/prnsim/escpos_reader.h"
#include "tools/prnsim/printer_console.h"

namespace hx {

struct stPrinterSetup {
    int paperWidth = 576;
    enumPrinterState state = enumPrinterState::Ready;
};

class CPrinterLine : public CDeviceLine {
public:
    CPrinterLine(CPseudoTerminal& terminal, const stPrinterSetup& setup,
                 CReceiptPrinter::DocumentSaver saver, CToolJournal& journal);
    ~CPrinterLine() override { Stop(); }

private:
    void Serve(const std::atomic<bool>& stop) override;
    std::string RunConsoleLine(std::string_view line) override { return m_console.Execute(line); }
    bool ConsoleQuitAsked() const override { return m_console.QuitAsked(); }

    CPseudoTerminal& m_terminal;
    CReceiptPrinter m_printer;
    CPrinterConsole m_console;
    CEscPosReader m_reader;
};

}  // namespace hx
