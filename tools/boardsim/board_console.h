#pragma once
// The console's commands, one a line (see help_text.cpp for the list): each
// line gives one reply line, "ok ..." or "error: ...".

#include <string>
#include <string_view>

#include "tools/boardsim/control_board.h"

namespace hx {

class CBoardConsole {
public:
    CBoardConsole(CControlBoard& board, CBoardOutbox& outbox) : m_board(board), m_outbox(outbox) {}

    std::string Execute(std::string_view line);
    bool QuitAsked() const { return m_quit; }

private:
    std::string Insert(const std::vector<std::string>& words);
    std::string Door(const std::vector<std::string>& words);
    std::string Fault(const std::vector<std::string>& words);
    std::string Stock(const std::vector<std::string>& words);
    std::string Misbehave(const std::vector<std::string>& words);
    std::string Status() const;

    CControlBoard& m_board;
    CBoardOutbox& m_outbox;
    bool m_quit = false;
};

}  // namespace hx
