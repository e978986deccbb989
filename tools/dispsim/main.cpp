// dispsim: a key card dispenser on a pseudo-terminal. See help_text.cpp.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/common/slave_link.h"
#include "tools/common/tool_console.h"
#include "tools/dispsim/command_line.h"
#include "tools/dispsim/dispenser_line.h"
#include "tools/dispsim/help_text.h"

namespace hx {

namespace {

int Fail(const std::string& reason) {
    std::fprintf(stderr, "dispsim: %s\n", reason.c_str());
    return 1;
}

int Run(const stDispSimOptions& options) {
    CToolJournal journal(options.journal);
    if (!journal.Usable()) {
        return Fail("cannot write the journal " + options.journal.string());
    }
    CPseudoTerminal terminal;
    std::string error;
    if (!terminal.KeepLineUp(error)) {
        return Fail(error);
    }
    if (!options.link.empty() && !MakeSlaveLink(options.link, terminal.SlavePath(), error)) {
        return Fail(error);
    }
    CDispenserLine line(terminal, options.cards, journal);
    line.Start();
    journal.Write(
        {{"event", "started"}, {"slave", terminal.SlavePath()}, {"cards", options.cards}});
    std::cout << terminal.SlavePath() << std::endl;
    {
        CToolQuit quit;
        ServeConsole([&line](const std::string& text) {
            std::string reply = line.Execute(text);
            if (line.QuitAsked()) {
                RequestToolQuit();
            }
            return reply;
        });
        quit.Wait();
    }
    CloseConsole();
    line.Stop();
    if (!options.link.empty()) {
        RemoveSlaveLink(options.link, terminal.SlavePath());
    }
    journal.Write({{"event", "stopped"}});
    return 0;
}

}  // namespace

}  // namespace hx

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
    return Run(options);
}
