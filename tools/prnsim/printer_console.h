#pragma once
// The console's commands, one a line (see help_text.cpp for the list): each
// line gives one reply, "ok ..." or "error: ...". The replies to "documents"
// and "help" go on over further lines, each indented.

#include <string>
#include <string_view>
#include <vector>

#include "tools/prnsim/receipt_printer.h"

namespace hx {

class CPrinterConsole {
public:
    explicit CPrinterConsole(CReceiptPrinter& printer) : m_printer(printer) {}

    std::string Execute(std::string_view line);
    bool QuitAsked() const { return m_quit; }

private:
    std::string State(const std::vector<std::string>& words);
    std::string Status() const;
    std::string Documents() const;

    CReceiptPrinter& m_printer;
    bool m_quit = false;
};

}  // namespace hx
