// boardsim: a cash control board on a pseudo-terminal. See help_text.cpp.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/boardsim/board_line.h"
#include "tools/boardsim/command_line.h"
#include "tools/boardsim/help_text.h"
#include "tools/common/device_simulator.h"

int main(int argc, char** argv) {
    using namespace hx;
    stBoardSimOptions options;
    std::string error;
    if (!ParseBoardSimCommandLine(std::vector<std::string>(argv + 1, argv + argc), options,
                                  error)) {
        std::fprintf(stderr, "boardsim: %s (see boardsim --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(BoardSimHelp().c_str(), stdout);
        return 0;
    }
    return RunDeviceSimulator({"boardsim", options.link, options.journal},
                              [&options](CPseudoTerminal& terminal, CToolJournal& journal) {
                                  return std::make_unique<CBoardLine>(terminal, options.board,
                                                                      options.gap, journal);
                              });
}
