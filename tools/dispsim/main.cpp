// dispsim: a key card dispenser on a pseudo-terminal. See help_text.cpp.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/common/device_simulator.h"
#include "tools/dispsim/command_line.h"
#include "tools/dispsim/dispenser_line.h"
#include "tools/dispsim/help_text.h"

int main(int argc, char** argv) {
    using namespace hx;
    stDispSimOptions options;
    std::string error;
    if (!ParseDispSimCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "dispsim: %s (see dispsim --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(DispSimHelp().c_str(), stdout);
        return 0;
    }
    return RunDeviceSimulator({"dispsim", options.link, options.journal},
                              [&options](CPseudoTerminal& terminal, CToolJournal& journal) {
                                  return std::make_unique<CDispenserLine>(terminal, options.cards,
                                                                          journal);
                              });
}
