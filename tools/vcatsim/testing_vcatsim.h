#pragma once
// For tests only: the card terminal program as a child process on a loopback
// address and port the test names, with its journal and output in a folder of
// the test's own; what it approved and cancelled is read back from its
// journal.
//
// The program's path comes from HX_VCATSIM_PROGRAM.

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/wait_until.h"
#include "tools/common/testing_simulator_process.h"

namespace hx {

class CVCatSimProcess : public CSimulatorProcess {
public:
    // Starts `vcatsim --address ADDRESS --port PORT` with `options`.
    CVCatSimProcess(const std::string& address, uint16_t port, const std::filesystem::path& folder,
                    const std::vector<std::string>& options = {})
        : CSimulatorProcess(HX_VCATSIM_PROGRAM, "vcatsim", folder,
                            Arguments(address, port, options)) {}

    // False also when the simulator could not be started or could not listen.
    bool WaitUntilListening() {
        return IsRunning() &&
               WaitUntil([this] { return !Events("listening").empty() || !IsRunning(); }) &&
               !Events("listening").empty();
    }

    // "approved" entries are {"approvalNo", "amount", "date", "time"}, "cancelled"
    // and "cancel refused" {"approvalNo", "amount", "code"}, "declined"
    // {"amount", "code", "message"}, "request" {"code", "fields": [[number, text], ...]}.
    std::vector<nlohmann::json> Approvals() const { return Events("approved"); }
    std::vector<nlohmann::json> Cancels() const { return Events("cancelled"); }

private:
    static std::vector<std::string> Arguments(const std::string& address, uint16_t port,
                                              const std::vector<std::string>& options) {
        std::vector<std::string> args = {"--address", address, "--port", std::to_string(port)};
        args.insert(args.end(), options.begin(), options.end());
        return args;
    }
};

}  // namespace hx
