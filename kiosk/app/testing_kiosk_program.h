#pragma once
// For tests and benchmarks: the kiosk program as a child process on a drive
// folder of the caller's own, with its screen on a free port. Its log is read
// with testing_kiosk_log.h.
//
// The program's path comes from HX_KIOSK_PROGRAM.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "kiosk/support/testing_kiosk_log.h"
#include "tests/support/child_process.h"

namespace hx {

struct stKioskStart {
    std::filesystem::path program = HX_KIOSK_PROGRAM;  // or an installed kiosk
    std::filesystem::path workingFolder;               // empty: the caller's own
    int uiPort = 0;                                    // 0: any free port
    std::optional<std::filesystem::path> webRoot;      // else the program's own
    // Nothing listens on port 1 of the loopback: no kiosk in a test talks to
    // a card terminal program the machine may run (the demo's) unless the
    // test names one.
    int cardTerminalPort = 1;
    std::vector<std::string> environment;  // "NAME=value" on top of the caller's
};

// The kiosk opens its control board (and by default its dispenser) as COM3
// and its receipt printer as COM0: a test that gives it no device of its
// own there gets links that lead nowhere, so no kiosk in a test ever reaches
// a real serial device.
inline void LinkNoDevices(const std::filesystem::path& drive) {
    for (const char* port : {"com0", "com3"}) {
        const std::filesystem::path link = drive / "dosdevices" / port;
        if (!std::filesystem::is_symlink(link)) {
            std::filesystem::create_directories(link.parent_path());
            std::filesystem::create_symlink(drive / ("no-" + std::string(port)), link);
        }
    }
}

inline bool StartKioskProgram(CChildProcess& kiosk, const std::filesystem::path& drive,
                              const stKioskStart& start = {}) {
    LinkNoDevices(drive);
    stChildLaunch launch;
    launch.args = {start.program.string(),
                   "--drive",
                   drive.string(),
                   "--ui-port",
                   std::to_string(start.uiPort),
                   "--card-terminal-port",
                   std::to_string(start.cardTerminalPort)};
    if (start.webRoot) {
        launch.args.insert(launch.args.end(), {"--web-root", start.webRoot->string()});
    }
    launch.workingFolder = start.workingFolder;
    launch.environment = start.environment;
    return kiosk.Start(launch);
}

// The port the kiosk's screen took, once its log (from byte `from` on) tells;
// the log as last read goes to `log`.
inline std::optional<std::uint16_t> WaitForScreenPort(std::string& log, size_t from = 0) {
    const std::optional<std::string> port =
        WaitForKioskLog(std::regex("화면 서버: 대기 시작: 127\\.0\\.0\\.1:([0-9]+)"), log, from);
    return port ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(std::stoi(*port)))
                : std::nullopt;
}

}  // namespace hx
