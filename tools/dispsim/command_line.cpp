#include "tools/dispsim/command_line.h"

#include <functional>
#include <optional>

#include "tools/common/option_pairs.h"
#include "tools/common/whole_number.h"

namespace hx {

namespace {

bool ReadOption(stDispSimOptions& options, const std::string& name, const std::string& value) {
    if (name == "--link") {
        options.link = value;
    } else if (name == "--journal") {
        options.journal = value;
    } else if (const std::optional<int> cards = ParseBoundedInt(value, 0, 100000);
               name == "--cards" && cards) {
        options.cards = *cards;
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool ParseDispSimCommandLine(const std::vector<std::string>& args, stDispSimOptions& options,
                             std::string& error) {
    return ParseOptionPairs(args, std::bind_front(ReadOption, std::ref(options)), options.help,
                            error);
}

}  // namespace hx
