#include "tools/prnsim/command_line.h"

#include <functional>
#include <optional>

#include "tools/common/option_pairs.h"
#include "tools/common/whole_number.h"

namespace hx {

namespace {

bool ReadPath(const std::string& value, std::filesystem::path& path) {
    path = value;
    return !value.empty();
}

bool ReadOption(stPrnSimOptions& options, const std::string& name, const std::string& value) {
    if (name == "--link") {
        return ReadPath(value, options.link);
    }
    if (name == "--usb-tree") {
        return ReadPath(value, options.usbTree);
    }
    if (name == "--journal") {
        return ReadPath(value, options.journal);
    }
    if (name == "--out") {
        return ReadPath(value, options.out);
    }
    if (name == "--font") {
        return ReadPath(value, options.font);
    }
    if (name == "--columns") {
        const std::optional<int> columns = ParseBoundedInt(value, kFewestColumns, kMostColumns);
        options.columns = columns.value_or(options.columns);
        return columns.has_value();
    }
    if (name == "--state") {
        const std::optional<enumPrinterState> state = PrinterStateByName(value);
        options.state = state.value_or(options.state);
        return state.has_value();
    }
    return false;
}

}  // namespace

bool ParsePrnSimCommandLine(const std::vector<std::string>& args, stPrnSimOptions& options,
                            std::string& error) {
    return ParseOptionPairs(args, std::bind_front(ReadOption, std::ref(options)), options.help,
                            error);
}

std::filesystem::path DocumentFolder(const stPrnSimOptions& options) {
    if (!options.out.empty()) {
        return options.out;
    }
    const std::filesystem::path folder = options.journal.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace hx
