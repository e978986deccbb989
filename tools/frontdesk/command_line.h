#pragma once
// The desk's command line.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/frontdesk/desk_limits.h"

namespace hx {

struct stEndpoint {
    std::string address;  // dotted IPv4
    uint16_t port = 0;
};

struct stFrontDeskOptions {
    stEndpoint listen{"127.0.0.1", 12001};
    std::filesystem::path scenario;
    std::filesystem::path data = "frontdesk-data";
    std::filesystem::path journal;  // empty: journal.jsonl in the data folder
    std::optional<stEndpoint> discovery;
    std::optional<stEndpoint> control;  // loopback only: it takes commands from anyone
    stDeskLimits limits;
    bool help = false;
};

// "ADDR:PORT", or "ADDR" alone when a default port is given.
bool ParseEndpoint(const std::string& text, std::optional<uint16_t> defaultPort,
                   stEndpoint& endpoint);
// The arguments after the program name. False with the reason.
bool ParseCommandLine(const std::vector<std::string>& args, stFrontDeskOptions& options,
                      std::string& error);

}  // namespace hx
