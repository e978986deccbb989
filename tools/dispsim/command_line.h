#pragma once
// The simulator's command line.

#include <filesystem>
#include <string>
#include <vector>

namespace hx {

struct stDispSimOptions {
    std::filesystem::path link;     // empty: no link to the slave
    std::filesystem::path journal;  // empty: no journal
    int cards = 100;                // blank cards in the stack
    bool help = false;
};

// The arguments after the program name. False with the reason.
bool ParseDispSimCommandLine(const std::vector<std::string>& args, stDispSimOptions& options,
                             std::string& error);

}  // namespace hx
