#pragma once
// For tests: boardsim as a child process, its pseudo-terminal linked where a
// kiosk looks for its board (DRIVE/dosdevices/com3), driven by console
// commands; what it took and paid out is read back from its journal:
// "taken" entries are {"device": "bill"|"coin", "value"}, "paid out"
// {"coins", "notes1", "notes2", "won", "short"}, and "silent" marks a
// command carried out unanswered. The program's path comes from
// HX_BOARDSIM_PROGRAM.

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/wait_until.h"
#include "tools/common/testing_simulator_process.h"

namespace hx {

class CBoardSimProcess : public CSimulatorProcess {
public:
    // Output and journal go to `folder`; the link is made by the simulator.
    // `options` are more of its command line (dispensers, stock).
    CBoardSimProcess(const std::filesystem::path& link, const std::filesystem::path& folder,
                     const std::vector<std::string>& options = {})
        : CSimulatorProcess(HX_BOARDSIM_PROGRAM, "boardsim", folder, Arguments(link, options)),
          m_link(link) {}

    bool WaitUntilLinked() {
        return IsRunning() && WaitUntil([this] { return std::filesystem::is_symlink(m_link); });
    }

private:
    static std::vector<std::string> Arguments(const std::filesystem::path& link,
                                              const std::vector<std::string>& options) {
        std::filesystem::create_directories(link.parent_path());
        std::vector<std::string> args = {"--link", link.string()};
        args.insert(args.end(), options.begin(), options.end());
        return args;
    }

    std::filesystem::path m_link;
};

}  // namespace hx
