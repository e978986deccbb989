#pragma once
// The kiosk program's command line:
// hxkiosk [--drive DIR] [--ui-port N] [--web-root DIR] [--card-terminal-port N]

#include <optional>
#include <string>
#include <vector>

namespace hx {

struct stCommandLine {
    std::optional<std::string> drive;
    int uiPort = 8049;  // the customer screen's port on 127.0.0.1; 0 = any free port
    std::optional<std::string> webRoot;  // the customer screen's files; else those installed
    int cardTerminalPort = 13855;        // the card terminal program's port on 127.0.0.1
};

// Empty result and a message in *error for anything it does not understand.
std::optional<stCommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                              std::string* error);

extern const char* const kKioskUsage;

}  // namespace hx
