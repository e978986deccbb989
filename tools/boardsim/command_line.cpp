#include "tools/boardsim/command_line.h"

#include <functional>
#include <optional>

#include "tools/common/option_pairs.h"
#include "tools/common/whole_number.h"

namespace hx {

namespace {

// "DENOMINATION:COUNT", the denomination one a dispenser can hold.
bool ReadDispenser(const std::string& value, stBillDispenser& dispenser) {
    const size_t colon = value.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    const std::optional<int> denomination = ParseBoundedInt(value.substr(0, colon), 1000, 10000);
    const std::optional<int> count = ParseBoundedInt(value.substr(colon + 1), 0, 100000);
    if (!denomination || !count ||
        (*denomination != 1000 && *denomination != 5000 && *denomination != 10000)) {
        return false;
    }
    dispenser.denomination = *denomination;
    dispenser.stock = *count;
    return true;
}

bool ReadOption(stBoardSimOptions& options, const std::string& name, const std::string& value) {
    if (name == "--link") {
        options.link = value;
    } else if (name == "--journal") {
        options.journal = value;
    } else if (name == "--dispenser1") {
        return ReadDispenser(value, options.board.dispenser1);
    } else if (name == "--dispenser2") {
        return ReadDispenser(value, options.board.dispenser2);
    } else if (const std::optional<int> number = ParseBoundedInt(value, 0, 100000); !number) {
        return false;
    } else if (name == "--hopper") {
        options.board.hopperStock = *number;
    } else if (name == "--low") {
        options.board.lowLevel = *number;
    } else if (name == "--gap") {
        options.gap = std::chrono::milliseconds(*number);
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool ParseBoardSimCommandLine(const std::vector<std::string>& args, stBoardSimOptions& options,
                              std::string& error) {
    return ParseOptionPairs(args, std::bind_front(ReadOption, std::ref(options)), options.help,
                            error);
}

}  // namespace hx
