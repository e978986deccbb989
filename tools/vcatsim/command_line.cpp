#include "tools/vcatsim/command_line.h"

#include <functional>
#include <optional>

#include "tools/common/option_pairs.h"
#include "tools/common/whole_number.h"

namespace hx {

namespace {

bool ReadOption(stVCatSimOptions& options, const std::string& name, const std::string& value) {
    if (name == "--address" && !value.empty()) {
        options.address = value;
    } else if (name == "--journal") {
        options.journal = value;
    } else if (const std::optional<int> port = ParseBoundedInt(value, 0, 65535);
               name == "--port" && port) {
        options.port = static_cast<uint16_t>(*port);
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool ParseVCatSimCommandLine(const std::vector<std::string>& args, stVCatSimOptions& options,
                             std::string& error) {
    return ParseOptionPairs(args, std::bind_front(ReadOption, std::ref(options)), options.help,
                            error);
}

}  // namespace hx
