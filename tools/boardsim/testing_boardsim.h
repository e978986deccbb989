#pragma once
// For tests: boardsim as a child process, its pseudo-terminal linked where a
// kiosk looks for its board (DRIVE/dosdevices/com3), driven by console
// commands. The program's path comes from HX_BOARDSIM_PROGRAM.

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/wait_until.h"
#include "tools/common/testing_console_reply.h"

namespace hx {

class CBoardSimProcess {
public:
    // Output and journal go to `folder`; the link is made by the simulator.
    // `options` are more of its command line (dispensers, stock).
    CBoardSimProcess(const std::filesystem::path& link, const std::filesystem::path& folder,
                     const std::vector<std::string>& options = {})
        : m_link(link), m_output(folder / "boardsim.out") {
        std::filesystem::create_directories(link.parent_path());
        stChildLaunch launch;
        launch.args = {HX_BOARDSIM_PROGRAM, "--link", link.string(), "--journal",
                       (folder / "boardsim.jsonl").string()};
        launch.args.insert(launch.args.end(), options.begin(), options.end());
        launch.withInput = true;
        launch.outputFile = m_output;
        m_process.Start(launch);
    }

    bool WaitUntilLinked() {
        return m_process.IsRunning() &&
               WaitUntil([this] { return std::filesystem::is_symlink(m_link); });
    }

    // Sends a console command; its reply line ("ok …" or "error: …").
    std::string Command(const std::string& line) {
        return SendToolCommand(m_process, m_output, line);
    }

    int Stop() { return m_process.Stop().value_or(-1); }

private:
    std::filesystem::path m_link;
    std::filesystem::path m_output;
    CChildProcess m_process;
};

}  // namespace hx
