#pragma once
// The simulator's command line.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace hx {

struct stVCatSimOptions {
    std::string address = "127.0.0.1";
    uint16_t port = 13855;          // 0: any free port
    std::filesystem::path journal;  // empty: no journal
    bool help = false;
};

// The arguments after the program name. False with the reason.
bool ParseVCatSimCommandLine(const std::vector<std::string>& args, stVCatSimOptions& options,
                             std::string& error);

}  // namespace hx
