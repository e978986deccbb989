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

std::vector<std::filesystem::path> LinksOf(const stSimulatorSetup& setup) {
    std::vector<std::filesystem::path> links;
    if (!setup.link.empty()) {
        links.push_back(setup.link);
    }
    links.insert(links.end(), setup.moreLinks.begin(), setup.moreLinks.end());
    return links;
}

void RemoveSlaveLinks(const std::vector<std::filesystem::path>& links, const std::string& slave) {
    for (const std::filesystem::path& link : links) {
        RemoveSlaveLink(link, slave);
    }
}

// All or none: a link that cannot be made takes back those made before it.
bool MakeSlaveLinks(const std::vector<std::filesystem::path>& links, const std::string& slave,
                    CToolJournal& journal, std::string& error) {
    for (size_t i = 0; i < links.size(); ++i) {
        if (!MakeSlaveLink(links[i], slave, error)) {
            RemoveSlaveLinks({links.begin(), links.begin() + static_cast<ptrdiff_t>(i)}, slave);
            return false;
        }
        journal.Write({{"event", "linked"}, {"link", links[i].string()}, {"slave", slave}});
    }
    return true;
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
    const std::vector<std::filesystem::path> links = LinksOf(setup);
    if (!MakeSlaveLinks(links, terminal.SlavePath(), journal, error)) {
        return Fail(setup, error);
    }
    const std::unique_ptr<CDeviceLine> line = makeLine(terminal, journal);
    line->Start();
    journal.Write({{"event", "started"}, {"slave", terminal.SlavePath()}});
    std::cout << terminal.SlavePath() << std::endl;
    ServeConsoleUntilQuit(quit, *line);
    RemoveSlaveLinks(links, terminal.SlavePath());
    journal.Write({{"event", "stopped"}});
    return 0;
}

}  // namespace hx
