#pragma once
// The console's commands, one a line (see help_text.cpp for the list): each
// line gives one reply, "ok ..." or "error: ...". The reply to "ledger" goes
// on over further lines, each indented.

#include <string>
#include <string_view>
#include <vector>

#include "tools/vcatsim/card_terminal.h"

namespace hx {

class CTerminalConsole {
public:
    explicit CTerminalConsole(CCardTerminal& terminal) : m_terminal(terminal) {}

    std::string Execute(std::string_view line);
    bool QuitAsked() const { return m_quit; }

private:
    std::string Next(const std::vector<std::string>& words);
    std::string States(const std::vector<std::string>& words);
    std::string Info(const std::vector<std::string>& words);
    std::string Status() const;
    std::string Ledger() const;

    CCardTerminal& m_terminal;
    bool m_quit = false;
};

}  // namespace hx
