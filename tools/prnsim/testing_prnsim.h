#pragma once
// For tests only: the receipt printer as a child process, its pseudo-terminal
// reached through a link the test names (DRIVE/dosdevices/com0), through a
// made-up USB tree (give {"--usb-tree", DIR} among the options), or both;
// its journal, output and documents go to a folder of the test's own.
//
// The program's path comes from HX_PRNSIM_PROGRAM.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/wait_until.h"
#include "tools/common/testing_simulator_process.h"

namespace hx {

class CPrnSimProcess : public CSimulatorProcess {
public:
    // Starts `prnsim --link LINK` (no link when LINK is empty) with `options`
    // (e.g. {"--columns", "42"}).
    CPrnSimProcess(const std::filesystem::path& link, const std::filesystem::path& folder,
                   const std::vector<std::string>& options = {})
        : CSimulatorProcess(HX_PRNSIM_PROGRAM, "prnsim", folder, Arguments(link, options)) {}

    // True once the simulator has started and every link it made leads to
    // its pseudo-terminal.
    bool WaitUntilLinked() {
        return IsRunning() && WaitUntil([this] {
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

    // "document" entries are {"number", "png", "text", "saved", "width",
    // "height", "badBytes", "lines": [{"text", "align", "top", "height",
    // "feed", "runs": [{"text", "size", "bold"}]}]}; "status request" {"n",
    // "answer"}; "dropped" {"bytes", "state"}; "bad bytes" {"document",
    // "count", "bytes"}.
    std::vector<nlohmann::json> Documents() const { return Events("document"); }

    // True once `count` documents have been printed this run, files written.
    bool WaitForDocuments(size_t count) {
        return WaitUntil([&] { return Documents().size() >= count; });
    }

private:
    static std::vector<std::string> Arguments(const std::filesystem::path& link,
                                              const std::vector<std::string>& options) {
        std::vector<std::string> args;
        if (!link.empty()) {
            std::filesystem::create_directories(link.parent_path());
            args = {"--link", link.string()};
        }
        args.insert(args.end(), options.begin(), options.end());
        return args;
    }
};

}  // namespace hx
