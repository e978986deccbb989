#pragma once
// For tests only: the card terminal program as a child process on a loopback
// address and port the test names, with its journal and output in a folder of
// the test's own. Console commands go to its standard input; what it approved
// and cancelled is read back from its journal. Every wait is bounded in real
// time.
//
// The program's path comes from HX_VCATSIM_PROGRAM.

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/wait_until.h"
#include "tools/common/testing_console_reply.h"
#include "tools/common/testing_journal.h"

namespace hx {

class CVCatSimProcess {
public:
    // Starts `vcatsim --address ADDRESS --port PORT` with `options`; journal
    // and output go to `folder`, where an earlier run may have left them.
    CVCatSimProcess(const std::string& address, uint16_t port, const std::filesystem::path& folder,
                    const std::vector<std::string>& options = {})
        : m_folder(folder), m_earlierLines(ReadLines(JournalPath()).size()) {
        stChildLaunch launch;
        launch.args = {
            HX_VCATSIM_PROGRAM, "--address",           address, "--port", std::to_string(port),
            "--journal",        JournalPath().string()};
        launch.args.insert(launch.args.end(), options.begin(), options.end());
        launch.withInput = true;
        launch.outputFile = OutputPath();
        launch.errorFile = folder / "vcatsim.err";
        m_process.Start(launch);
    }

    std::filesystem::path JournalPath() const { return m_folder / "vcatsim.jsonl"; }
    std::filesystem::path OutputPath() const { return m_folder / "vcatsim.out"; }

    // False also when the simulator could not be started or could not listen.
    bool WaitUntilListening() {
        return m_process.IsRunning() && WaitUntil([this] {
                   return !Events("listening").empty() || !m_process.IsRunning();
               }) &&
               !Events("listening").empty();
    }

    // Sends a console command and returns the first line of its reply.
    std::string Command(const std::string& line) {
        return SendToolCommand(m_process, OutputPath(), line);
    }

    // What this run journalled (an earlier run's lines are skipped).
    std::vector<nlohmann::json> Journal() const {
        return ReadJournal(JournalPath(), m_earlierLines);
    }

    // The journal's entries of one event, oldest first: "approved" gives
    // {"approvalNo", "amount", "date", "time"}, "cancelled" and "cancel
    // refused" {"approvalNo", "amount", "code"}, "declined" {"amount", "code",
    // "message"}, "request" {"code", "fields": [[number, text], ...]}.
    std::vector<nlohmann::json> Events(const std::string& event) const {
        std::vector<nlohmann::json> entries;
        for (nlohmann::json& entry : Journal()) {
            if (entry.value("event", "") == event) {
                entries.push_back(std::move(entry));
            }
        }
        return entries;
    }
    std::vector<nlohmann::json> Approvals() const { return Events("approved"); }
    std::vector<nlohmann::json> Cancels() const { return Events("cancelled"); }

    // Ends the simulator with SIGTERM; its exit status, or -1 when it did not end normally.
    int Stop() { return m_process.Stop().value_or(-1); }

private:
    std::filesystem::path m_folder;
    size_t m_earlierLines;
    CChildProcess m_process;
};

}  // namespace hx
