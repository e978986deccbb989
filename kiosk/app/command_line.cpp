#include "kiosk/app/command_line.h"

#include <charconv>

namespace hx {

const char* const kKioskUsage =
    "usage: hxkiosk [--drive DIR] [--ui-port N] [--web-root DIR] [--card-terminal-port N]";

namespace {

bool ParsePort(const std::string& option, const std::string& text, int lowest, int* port,
               std::string* error) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < lowest || value > 65535) {
        *error = option + " needs a port number from " +
                 (lowest == 0 ? std::string("0 (any free port)") : std::to_string(lowest)) +
                 " to 65535, not '" + text + "'";
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
            if (!ParsePort(arg, args[++i], 0, &line.uiPort, error)) {
                return std::nullopt;
            }
        } else if (arg == "--card-terminal-port" && hasValue) {
            if (!ParsePort(arg, args[++i], 1, &line.cardTerminalPort, error)) {
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
