#pragma once
// For tests only: a tool run as a child process takes a console command on
// its standard input and answers on its standard output, which goes to a
// file. Replies start with "ok" or "error"; their further lines are indented.

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/wait_until.h"

namespace hx {

// The first lines of the replies written to `output` so far.
inline std::vector<std::string> ConsoleReplies(const std::filesystem::path& output) {
    std::vector<std::string> replies;
    for (const std::string& line : ReadLines(output)) {
        if (line.starts_with("ok") || line.starts_with("error")) {
            replies.push_back(line);
        }
    }
    return replies;
}

// Sends the command and returns the first line of its reply; empty when
// none came within the tests' patience.
inline std::string SendToolCommand(CChildProcess& tool, const std::filesystem::path& output,
                                   const std::string& line) {
    const size_t before = ConsoleReplies(output).size();
    if (!tool.WriteInput(line + "\n")) {
        return "error: not written";
    }
    std::string reply;
    WaitUntil([&] {
        const std::vector<std::string> replies = ConsoleReplies(output);
        if (replies.size() > before) {
            reply = replies[before];
        }
        return !reply.empty();
    });
    return reply;
}

}  // namespace hx
