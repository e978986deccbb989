// frontdesk: a front-desk server for kiosks. See help_text.cpp for what it does.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drive.h"
#include "tools/common/tool_console.h"
#include "tools/frontdesk/command_line.h"
#include "tools/frontdesk/control_executor.h"
#include "tools/frontdesk/datagram_listener.h"
#include "tools/frontdesk/desk_state.h"
#include "tools/frontdesk/discovery_answer.h"
#include "tools/frontdesk/front_desk.h"
#include "tools/frontdesk/help_text.h"
#include "tools/frontdesk/journal.h"
#include "tools/frontdesk/scenario_loader.h"

namespace hx {

namespace {

// Commands come from standard input and the control socket, through the
// console: one runs at a time, and none once the desk is going away.
std::optional<std::vector<uint8_t>> AnswerControlDatagram(std::span<const uint8_t> datagram) {
    const std::optional<std::string> reply =
        RunConsoleCommand(std::string(datagram.begin(), datagram.end()));
    if (!reply) {
        return std::nullopt;
    }
    return std::vector<uint8_t>(reply->begin(), reply->end());
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "frontdesk: %s\n", reason.c_str());
    return 1;
}

bool StartListener(CDatagramListener& listener, const std::optional<stEndpoint>& endpoint,
                   std::string& error) {
    return !endpoint || listener.Start(endpoint->address, endpoint->port, error);
}

int Run(const stFrontDeskOptions& options) {
    std::error_code ignored;
    std::filesystem::create_directories(options.data, ignored);
    // The transport's diagnostics belong with the desk's data, never in a kiosk's folder.
    SetDriveFolder(options.data);
    stScenario scenario;
    std::string error;
    if (!LoadScenario(options.scenario, scenario, error)) {
        return Fail("scenario " + error);
    }
    stDeskState state(std::move(scenario), options.data / "ledger.json");
    if (!state.ledger.Load(error)) {
        return Fail("ledger " + error + "; move it away to start a new one");
    }
    ApplyLedgerRoomStates(state);
    CJournal journal(options.journal);
    if (!journal.IsOpen()) {
        return Fail("cannot write the journal " + options.journal.string());
    }
    CFrontDesk desk(state, journal, options.limits);
    if (!desk.Start(options.listen.address, options.listen.port, error)) {
        return Fail(error);
    }
    CControlExecutor executor(desk, RequestToolQuit);
    CDatagramListener discovery(
        [&journal](std::span<const uint8_t> datagram, const stDatagramSender& sender) {
            const auto answer = AnswerDiscovery(datagram);
            journal.Write({{"event", answer ? "discovery answered" : "discovery ignored"},
                           {"peer", sender.address}});
            return answer;
        });
    CDatagramListener control([](std::span<const uint8_t> datagram, const stDatagramSender&) {
        return AnswerControlDatagram(datagram);
    });
    if (!StartListener(discovery, options.discovery, error) ||
        !StartListener(control, options.control, error)) {
        return Fail(error);
    }
    {
        CToolQuit quit;
        ServeConsole([&executor](const std::string& line) { return executor.Execute(line); });
        std::fprintf(stderr, "frontdesk: listening on %s:%u\n", options.listen.address.c_str(),
                     desk.Port());
        quit.Wait();
    }
    CloseConsole();
    control.Stop();
    discovery.Stop();
    desk.Stop();
    journal.Write({{"event", "stopped"}});
    return 0;
}

}  // namespace

}  // namespace hx

int main(int argc, char** argv) {
    using namespace hx;
    stFrontDeskOptions options;
    std::string error;
    if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "frontdesk: %s (see frontdesk --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(FrontDeskHelp().c_str(), stdout);
        return 0;
    }
    return Run(options);
}
