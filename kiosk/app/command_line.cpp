#include "kiosk/app/command_line.h"

#include <charconv>

namespace hx {

const char* const kKioskUsage = "usage: hxkiosk [--drive DIR] [--ui-port N] [--web-root DIR]";

namespace {

bool ParsePort(const std::string& text, int* port) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0 || value > 65535) {
        return false;
    }
    *port = value;
    return true;
}

}  // namespace

std::optional<stCommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                              std::string* error) {
    stCommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--drive" && hasValue) {
            line.drive = args[++i];
        } else if (arg == "--web-root" && hasValue) {
            line.webRoot = args[++i];
        } else if (arg == "--ui-port" && hasValue) {
            if (!ParsePort(args[++i], &line.uiPort)) {
                *error = "--ui-port needs a port number from 0 (any free port) to 65535, not '" +
                         args[i] + "'";
                return std::nullopt;
            }
        } else {
            *error = "unknown or incomplete argument '" + arg + "'";
            return std::nullopt;
        }
    }
    return line;
}

}  // namespace hx
