// vcatsim: the card terminal program on TCP. See help_text.cpp.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/common/device_simulator.h"
#include "tools/vcatsim/command_line.h"
#include "tools/vcatsim/help_text.h"
#include "tools/vcatsim/terminal_server.h"

int main(int argc, char** argv) {
    using namespace hx;
    stVCatSimOptions options;
    std::string error;
    if (!ParseVCatSimCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "vcatsim: %s (see vcatsim --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(VCatSimHelp().c_str(), stdout);
        return 0;
    }
    CToolJournal journal(options.journal);
    if (!journal.Usable()) {
        std::fprintf(stderr, "vcatsim: cannot write the journal %s\n", options.journal.c_str());
        return 1;
    }
    // Taken before the program says it listens, and kept to the end: a test
    // may stop it at once, or right after "quit".
    CToolQuit quit;
    quit.HoldUntilExit();
    CCardTerminal terminal([&journal](nlohmann::json event) { journal.Write(event); });
    CTerminalServer server(terminal, journal);
    if (!server.Listen(options.address, options.port, error)) {
        std::fprintf(stderr, "vcatsim: %s\n", error.c_str());
        return 1;
    }
    server.Start();
    journal.Write({{"event", "started"}});
    std::cout << "listening on " << options.address << ":" << server.Port() << std::endl;
    ServeConsoleUntilQuit(quit, server);
    journal.Write({{"event", "stopped"}});
    return 0;
}
