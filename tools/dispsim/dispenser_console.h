#pragma once
// The console's commands, one a line (see help_text.cpp for the list): each
// line gives one reply, "ok ..." or "error: ...". The reply to "issued" goes
// on over further lines, each indented.

#include <string>
#include <string_view>
#include <vector>

#include "tools/dispsim/card_dispenser.h"

namespace hx {

class CDispenserConsole {
public:
    explicit CDispenserConsole(CCardDispenser& dispenser) : m_dispenser(dispenser) {}

    std::string Execute(std::string_view line);
    bool QuitAsked() const { return m_quit; }

private:
    std::string Cards(const std::vector<std::string>& words);
    std::string Fault(const std::vector<std::string>& words);
    std::string Misbehave(const std::vector<std::string>& words);
    std::string RejectWrite(const std::vector<std::string>& words);
    std::string StatusCode(const std::vector<std::string>& words);
    std::string Status() const;
    std::string Issued() const;

    CCardDispenser& m_dispenser;
    bool m_quit = false;
};

}  // namespace hx
