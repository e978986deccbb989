#pragma once
// The life of a device simulator (the control board, the card dispenser): a
// pseudo-terminal kept up, its slave linked where the kiosk looks for its
// port, the device's line served on its own thread and its console on
// standard input, until "quit" or a quit signal; then the link goes.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/pseudo_terminal.h"
#include "tools/common/device_line.h"
#include "tools/common/tool_console.h"
#include "tools/common/tool_journal.h"

namespace hx {

struct stSimulatorSetup {
    std::string program;            // for error messages: "boardsim"
    std::filesystem::path link;     // empty: no link to the slave
    std::filesystem::path journal;  // empty: no journal
    // Further links to the same slave: a device the kiosk may reach by more
    // than one name (the receipt printer as a COM port and as a USB node).
    std::vector<std::filesystem::path> moreLinks = {};
};

using DeviceLineMaker =
    std::function<std::unique_ptr<CDeviceLine>(CPseudoTerminal& terminal, CToolJournal& journal)>;

// Console lines go to the line until "quit" or a quit signal; then the line
// stops. Quit signals stay taken while `quit` lives, so the caller's cleanup
// after this is never cut short.
void ServeConsoleUntilQuit(CToolQuit& quit, CDeviceLine& line);

// Prints the slave's path on the first output line, serves until the end and
// returns the program's exit code. Each link made is journalled as "linked".
int RunDeviceSimulator(const stSimulatorSetup& setup, const DeviceLineMaker& makeLine);

}  // namespace hx
