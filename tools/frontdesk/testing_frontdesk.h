#pragma once
// For tests only: the desk as a child process on a loopback address of the
// test's own, with its data, journal and output in a folder of the test's
// own. Commands go to its standard input; its journal is read back as JSON.
// Every wait is bounded in real time.
//
// The program's path comes from HX_FRONTDESK_PROGRAM.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

namespace hx {

inline constexpr int kFrontDeskWaitMs = 20000;

class CFrontDeskProcess {
public:
    // Starts `frontdesk --listen ADDRESS:12001` with the scenario; data,
    // journal and output go to `folder`, where an earlier run may have left them.
    CFrontDeskProcess(const std::string& address, const std::filesystem::path& scenario,
                      const std::filesystem::path& folder)
        : m_folder(folder), m_earlierLines(Lines(JournalPath()).size()) {
        int input[2] = {-1, -1};
        EXPECT_EQ(::pipe(input), 0);
        const std::string program = HX_FRONTDESK_PROGRAM;
        std::vector<std::string> args = {program,
                                         "--listen",
                                         address + ":12001",
                                         "--scenario",
                                         scenario.string(),
                                         "--data",
                                         (folder / "data").string(),
                                         "--journal",
                                         JournalPath().string()};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, input[1]);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, OutputPath().c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (folder / "stderr.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_EQ(posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        m_input = input[1];
    }

    ~CFrontDeskProcess() { Stop(); }

    // Ends the desk with SIGTERM; its exit status, or -1 when it did not end normally.
    int Stop() {
        if (m_input >= 0) {
            ::close(m_input);
            m_input = -1;
        }
        if (m_pid <= 0) {
            return -1;
        }
        ::kill(m_pid, SIGTERM);
        int status = 0;
        const pid_t ended = ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    CFrontDeskProcess(const CFrontDeskProcess&) = delete;
    CFrontDeskProcess& operator=(const CFrontDeskProcess&) = delete;

    pid_t Pid() const { return m_pid; }
    std::filesystem::path JournalPath() const { return m_folder / "journal.jsonl"; }
    std::filesystem::path OutputPath() const { return m_folder / "stdout.txt"; }

    bool WaitUntilListening() {
        return WaitForJournal(
            [](const nlohmann::json& entry) { return entry.value("event", "") == "listening"; });
    }

    // Sends a control command and returns the first line of its reply.
    std::string Command(const std::string& line) {
        const size_t before = ReplyLines().size();
        const std::string text = line + "\n";
        if (::write(m_input, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            return "error: not written";
        }
        std::string reply;
        WaitFor([&] {
            const std::vector<std::string> replies = ReplyLines();
            if (replies.size() > before) {
                reply = replies[before];
            }
            return !reply.empty();
        });
        return reply;
    }

    // What this run of the desk journalled (an earlier run's lines are skipped).
    std::vector<nlohmann::json> Journal() const {
        std::vector<nlohmann::json> entries;
        const std::vector<std::string> lines = Lines(JournalPath());
        for (size_t i = m_earlierLines; i < lines.size(); ++i) {
            // The last line may still be being written.
            const nlohmann::json entry = nlohmann::json::parse(lines[i], nullptr, false);
            if (!entry.is_discarded()) {
                entries.push_back(entry);
            }
        }
        return entries;
    }

    // Waits until some journal line satisfies `matches`; that line, or null.
    nlohmann::json FindInJournal(const std::function<bool(const nlohmann::json&)>& matches) {
        nlohmann::json found;
        WaitFor([&] {
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
    static bool WaitFor(const std::function<bool()>& done) {
        const auto end =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kFrontDeskWaitMs);
        while (!done()) {
            if (std::chrono::steady_clock::now() >= end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    static std::vector<std::string> Lines(const std::filesystem::path& file) {
        std::vector<std::string> lines;
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // Replies start with "ok" or "error"; their further lines are indented.
    std::vector<std::string> ReplyLines() const {
        std::vector<std::string> replies;
        for (const std::string& line : Lines(OutputPath())) {
            if (line.starts_with("ok") || line.starts_with("error")) {
                replies.push_back(line);
            }
        }
        return replies;
    }

    std::filesystem::path m_folder;
    size_t m_earlierLines;
    pid_t m_pid = -1;
    int m_input = -1;
};

}  // namespace hx
