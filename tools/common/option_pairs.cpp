#include "tools/common/option_pairs.h"

namespace hx {

bool ParseOptionPairs(
    const std::vector<std::string>& args,
    const std::function<bool(const std::string& name, const std::string& value)>& read, bool& help,
    std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            help = true;
            return true;
        }
        if (!name.starts_with("--") || i + 1 >= args.size()) {
            error = name.starts_with("--") ? name + " needs a value" : "unknown argument " + name;
            return false;
        }
        if (!read(name, args[++i])) {
            error = "unknown option or bad value: " + name + " " + args[i];
            return false;
        }
    }
    return true;
}

}  // namespace hx
