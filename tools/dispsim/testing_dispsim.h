#pragma once
// For tests only: the dispenser as a child process, its pseudo-terminal
// reached through a link the test names (DRIVE/dosdevices/comN), with its
// journal and output in a folder of the test's own. Console commands go to
// its standard input; the cards it issued are read back from its journal.
// Every wait is bounded in real time.
//
// The program's path comes from HX_DISPSIM_PROGRAM.

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

class CDispSimProcess {
public:
    // Starts `dispsim --link LINK` with `options` (e.g. {"--cards", "3"});
    // journal and output go to `folder`, where an earlier run may have left them.
    CDispSimProcess(const std::filesystem::path& link, const std::filesystem::path& folder,
                    const std::vector<std::string>& options = {})
        : m_link(link), m_folder(folder), m_earlierLines(ReadLines(JournalPath()).size()) {
        stChildLaunch launch;
        launch.args = {HX_DISPSIM_PROGRAM, "--link", link.string(), "--journal",
                       JournalPath().string()};
        launch.args.insert(launch.args.end(), options.begin(), options.end());
        launch.withInput = true;
        launch.outputFile = OutputPath();
        launch.errorFile = folder / "dispsim.err";
        m_process.Start(launch);
    }

    std::filesystem::path JournalPath() const { return m_folder / "dispsim.jsonl"; }
    std::filesystem::path OutputPath() const { return m_folder / "dispsim.out"; }

    // True once the link leads to the started simulator's pseudo-terminal.
    bool WaitUntilLinked() {
        return m_process.IsRunning() && WaitUntil([this] {
                   for (const nlohmann::json& entry : Journal()) {
                       if (entry.value("event", "") == "started") {
                           std::error_code code;
                           return std::filesystem::read_symlink(m_link, code).string() ==
                                  entry.value("slave", "");
                       }
                   }
                   return false;
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

    // The cards issued so far, oldest first: {"number", "block1", "block2",
    // "card": {"doorLock", "hotelRegion", "hotelSequence", "grade",
    // "gradeSequence", "start", "end", "checksOk", "wellFormed"}}.
    std::vector<nlohmann::json> IssuedCards() const {
        std::vector<nlohmann::json> cards;
        for (nlohmann::json& entry : Journal()) {
            if (entry.value("event", "") == "issued") {
                entry.erase("event");
                cards.push_back(std::move(entry));
            }
        }
        return cards;
    }

    // Ends the simulator with SIGTERM; its exit status, or -1 when it did not end normally.
    int Stop() { return m_process.Stop().value_or(-1); }

private:
    std::filesystem::path m_link;
    std::filesystem::path m_folder;
    size_t m_earlierLines;
    CChildProcess m_process;
};

}  // namespace hx
