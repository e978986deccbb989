#pragma once
// For tests only: a simulator program as a child process, with its journal
// (NAME.jsonl), output (NAME.out) and errors (NAME.err) in a folder of the
// test's own, where an earlier run may have left them. Console commands go
// to its standard input; what it did is read back from its journal. Every
// wait is bounded in real time.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tools/common/testing_console_reply.h"
#include "tools/common/testing_journal.h"

namespace hx {

class CSimulatorProcess {
public:
    // Starts `program --journal FOLDER/NAME.jsonl` followed by `args`.
    CSimulatorProcess(const std::string& program, const std::string& name,
                      const std::filesystem::path& folder, const std::vector<std::string>& args)
        : m_folder(folder), m_name(name), m_earlierLines(ReadLines(JournalPath()).size()) {
        stChildLaunch launch;
        launch.args = {program, "--journal", JournalPath().string()};
        launch.args.insert(launch.args.end(), args.begin(), args.end());
        launch.withInput = true;
        launch.outputFile = OutputPath();
        launch.errorFile = folder / (name + ".err");
        m_process.Start(launch);
    }

    std::filesystem::path JournalPath() const { return m_folder / (m_name + ".jsonl"); }
    std::filesystem::path OutputPath() const { return m_folder / (m_name + ".out"); }

    // Sends a console command and returns the first line of its reply.
    std::string Command(const std::string& line) {
        return SendToolCommand(m_process, OutputPath(), line);
    }

    // What this run journalled (an earlier run's lines are skipped).
    std::vector<nlohmann::json> Journal() const {
        return ReadJournal(JournalPath(), m_earlierLines);
    }
    // This run's journal entries of one event, oldest first.
    std::vector<nlohmann::json> Events(const std::string& event) const {
        return ReadJournalEvents(JournalPath(), event, m_earlierLines);
    }

    // Ends the simulator with SIGTERM; its exit status, or -1 when it did not end normally.
    int Stop() { return m_process.Stop().value_or(-1); }

protected:
    bool IsRunning() const { return m_process.IsRunning(); }

private:
    std::filesystem::path m_folder;
    std::string m_name;
    size_t m_earlierLines;
    CChildProcess m_process;
};

}  // namespace hx
