#pragma once
// For tests only: the receipt printer as a child process, its pseudo-terminal
// reached through a link the test names (DRIVE/dosdevices/com0), through a
// made-up USB tree (give {"--usb-tree", DIR} among the options), or both;
// its journal, output and documents go to a folder of the test's own.
// Console commands go to its standard input; the documents it printed are
// read back from its journal. Every wait is bounded in real time.
//
// The program's path comes from HX_PRNSIM_PROGRAM.

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

class CPrnSimProcess {
public:
    // Starts `prnsim --link LINK` (no link when LINK is empty) with `options`
    // (e.g. {"--columns", "42"}); journal, output and documents go to
    // `folder`, where an earlier run may have left them.
    CPrnSimProcess(const std::filesystem::path& link, const std::filesystem::path& folder,
                   const std::vector<std::string>& options = {})
        : m_folder(folder), m_earlierLines(ReadLines(JournalPath()).size()) {
        stChildLaunch launch;
        launch.args = {HX_PRNSIM_PROGRAM, "--journal", JournalPath().string()};
        if (!link.empty()) {
            std::filesystem::create_directories(link.parent_path());
            launch.args.insert(launch.args.end(), {"--link", link.string()});
        }
        launch.args.insert(launch.args.end(), options.begin(), options.end());
        launch.withInput = true;
        launch.outputFile = OutputPath();
        launch.errorFile = folder / "prnsim.err";
        m_process.Start(launch);
    }

    std::filesystem::path JournalPath() const { return m_folder / "prnsim.jsonl"; }
    std::filesystem::path OutputPath() const { return m_folder / "prnsim.out"; }

    // True once the simulator has started and every link it made leads to
    // its pseudo-terminal.
    bool WaitUntilLinked() {
        return m_process.IsRunning() && WaitUntil([this] {
                   if (Events("started").empty()) {
                       return false;
                   }
                   for (const nlohmann::json& linked : Events("linked")) {
                       std::error_code code;
                       if (std::filesystem::read_symlink(linked.value("link", ""), code) !=
                           linked.value("slave", "")) {
                           return false;
                       }
                   }
                   return true;
               });
    }

    // Sends a console command and returns the first line of its reply.
    std::string Command(const std::string& line) {
        return SendToolCommand(m_process, OutputPath(), line);
    }

    // What this run journalled (an earlier run's lines are skipped).
    std::vector<nlohmann::json> Journal() const {
        return ReadJournal(JournalPath(), m_earlierLines);
    }

    // The journal's entries of one event, oldest first: "document" gives
    // {"number", "png", "text", "saved", "width", "height", "badBytes",
    // "lines": [{"text", "align", "top", "height", "feed", "runs": [{"text",
    // "size", "bold"}]}]}; "status request" {"n", "answer"}; "dropped"
    // {"bytes", "state"}; "bad bytes" {"document", "count", "bytes"}.
    std::vector<nlohmann::json> Events(const std::string& event) const {
        return ReadJournalEvents(JournalPath(), event, m_earlierLines);
    }
    std::vector<nlohmann::json> Documents() const { return Events("document"); }

    // True once `count` documents have been printed this run, files written.
    bool WaitForDocuments(size_t count) {
        return WaitUntil([&] { return Documents().size() >= count; });
    }

    // Ends the simulator with SIGTERM; its exit status, or -1 when it did not end normally.
    int Stop() { return m_process.Stop().value_or(-1); }

private:
    std::filesystem::path m_folder;
    size_t m_earlierLines;
    CChildProcess m_process;
};

}  // namespace hx
