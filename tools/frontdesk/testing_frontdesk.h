#pragma once
// For tests only: the desk as a child process on a loopback address
// of the test's own, with its data, journal and output in a folder of the
// test's own. Commands go to its standard input; its journal is read back
// as JSON. Every wait is bounded in real time.
//
// The program's path comes from HX_FRONTDESK_PROGRAM.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/wait_until.h"
#include "tools/common/testing_console_reply.h"
#include "tools/common/testing_journal.h"

namespace hx {

class CFrontDeskProcess {
public:
    // Starts `frontdesk --listen ADDRESS:12001` with the scenario; data,
    // journal and output go to `folder`, where an earlier run may have left them.
    CFrontDeskProcess(const std::string& address, const std::filesystem::path& scenario,
                      const std::filesystem::path& folder)
        : m_folder(folder), m_earlierLines(ReadLines(JournalPath()).size()) {
        stChildLaunch launch;
        launch.args = {HX_FRONTDESK_PROGRAM,  "--listen", address + ":12001",         "--scenario",
                       scenario.string(),     "--data",   (folder / "data").string(), "--journal",
                       JournalPath().string()};
        launch.withInput = true;
        launch.outputFile = OutputPath();
        launch.errorFile = folder / "stderr.txt";
        m_process.Start(launch);
    }

    // Ends the desk with SIGTERM; its exit status, or -1 when it did not end normally.
    int Stop() { return m_process.Stop().value_or(-1); }

    std::optional<std::int64_t> PeakMemoryKiB() const { return m_process.PeakMemoryKiB(); }
    std::filesystem::path JournalPath() const { return m_folder / "journal.jsonl"; }
    std::filesystem::path OutputPath() const { return m_folder / "stdout.txt"; }

    // False also when the desk could not be started.
    bool WaitUntilListening() {
        return m_process.IsRunning() && WaitForJournal([](const nlohmann::json& entry) {
                   return entry.value("event", "") == "listening";
               });
    }

    // Sends a control command and returns the first line of its reply.
    std::string Command(const std::string& line) {
        return SendToolCommand(m_process, OutputPath(), line);
    }

    // What this run of the desk journalled (an earlier run's lines are skipped).
    std::vector<nlohmann::json> Journal() const {
        return ReadJournal(JournalPath(), m_earlierLines);
    }

    // Waits until some journal line satisfies `matches`; that line, or null.
    nlohmann::json FindInJournal(const std::function<bool(const nlohmann::json&)>& matches) {
        nlohmann::json found;
        WaitUntil([&] {
            for (const nlohmann::json& entry : Journal()) {
                if (matches(entry)) {
                    found = entry;
                    return true;
                }
            }
            return false;
        });
        return found;
    }
    bool WaitForJournal(const std::function<bool(const nlohmann::json&)>& matches) {
        return !FindInJournal(matches).is_null();
    }

private:
    std::filesystem::path m_folder;
    size_t m_earlierLines;
    CChildProcess m_process;
};

}  // namespace hx
