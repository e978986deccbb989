#pragma once
// The life of a device simulator (the control board, the card dispenser): a
// pseudo-terminal kept up, its slave linked where the kiosk looks for its
// port, the device's line served on its own thread and its console on
// standard input, until "quit" or a quit signal; then the link goes.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/pseudo_terminal.h"
#include "tools/common/tool_journal.h"

namespace hx {

// What a simulator's line offers: a thread that plays the device, and the
// console's commands carried out between the device's exchanges.
class IDeviceLine {
public:
    virtual ~IDeviceLine() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    // Runs one console line; its reply.
    virtual std::string Execute(std::string_view line) = 0;
    virtual bool QuitAsked() = 0;
};

struct stSimulatorSetup {
    std::string program;            // for error messages: "boardsim"
    std::filesystem::path link;     // empty: no link to the slave
    std::filesystem::path journal;  // empty: no journal
};

using DeviceLineMaker =
    std::function<std::unique_ptr<IDeviceLine>(CPseudoTerminal& terminal, CToolJournal& journal)>;

// Prints the slave's path on the first output line, serves until the end and
// returns the program's exit code.
int RunDeviceSimulator(const stSimulatorSetup& setup, const DeviceLineMaker& makeLine);

}  // namespace hx
