#pragma once
// The simulator's command line.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/boardsim/board_state.h"

namespace hx {

struct stBoardSimOptions {
    std::filesystem::path link;     // empty: no link to the slave
    std::filesystem::path journal;  // empty: no journal
    stBoardState board;
    std::chrono::milliseconds gap{100};
    bool help = false;
};

// The arguments after the program name. False with the reason.
bool ParseBoardSimCommandLine(const std::vector<std::string>& args, stBoardSimOptions& options,
                              std::string& error);

}  // namespace hx
