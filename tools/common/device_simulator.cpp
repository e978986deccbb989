#include "tools/common/device_simulator.h"

#include <cstdio>
#include <iostream>

#include "tools/common/slave_link.h"
#include "tools/common/tool_console.h"

namespace hx {

namespace {

int Fail(const stSimulatorSetup& setup, const std::string& reason) {
    std::fprintf(stderr, "%s: %s\n", setup.program.c_str(), reason.c_str());
    return 1;
}

}  // namespace

void ServeConsoleUntilQuit(CToolQuit& quit, CDeviceLine& line) {
    ServeConsole([&line](const std::string& text) {
        std::string reply = line.Execute(text);
        if (line.QuitAsked()) {
            RequestToolQuit();
        }
        return reply;
    });
    quit.Wait();
    CloseConsole();
    line.Stop();
}

int RunDeviceSimulator(const stSimulatorSetup& setup, const DeviceLineMaker& makeLine) {
    CToolJournal journal(setup.journal);
    if (!journal.Usable()) {
        return Fail(setup, "cannot write the journal " + setup.journal.string());
    }
    // Quit signals are taken before the link is made and until it is gone: a
    // SIGTERM as soon as a test sees the simulator started, or one that follows
    // "quit" at once, must not end the program before its cleanup.
    CToolQuit quit;
    quit.HoldUntilExit();
    CPseudoTerminal terminal;
    std::string error;
    if (!terminal.KeepLineUp(error)) {
        return Fail(setup, error);
    }
    if (!setup.link.empty() && !MakeSlaveLink(setup.link, terminal.SlavePath(), error)) {
        return Fail(setup, error);
    }
    const std::unique_ptr<CDeviceLine> line = makeLine(terminal, journal);
    line->Start();
    journal.Write({{"event", "started"}, {"slave", terminal.SlavePath()}});
    std::cout << terminal.SlavePath() << std::endl;
    ServeConsoleUntilQuit(quit, *line);
    if (!setup.link.empty()) {
        RemoveSlaveLink(setup.link, terminal.SlavePath());
    }
    journal.Write({{"event", "stopped"}});
    return 0;
}

}  // namespace hx
