#include "tools/frontdesk/command_line.h"

#include "tools/frontdesk/discovery_answer.h"
#include "tools/frontdesk/named_fields.h"

namespace hx {

namespace {

// Each connection is a thread and three descriptors: far beyond this the
// system runs out of them before the desk reaches its limit.
constexpr int64_t kMaxConnections = 10000;

bool IsDottedAddress(const std::string& text) {
    size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const size_t end = part < 3 ? text.find('.', start) : text.size();
        int64_t value = 0;
        if (end == std::string::npos ||
            !ParseWholeNumber(std::string_view(text).substr(start, end - start), 0, 255, value)) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool ReadEndpointOption(const std::string& name, const std::string& value,
                        std::optional<uint16_t> defaultPort, stEndpoint& endpoint,
                        std::string& error) {
    if (!ParseEndpoint(value, defaultPort, endpoint)) {
        error = name + " needs ADDRESS:PORT with a dotted IPv4 address, not \"" + value + "\"";
        return false;
    }
    return true;
}

bool ReadCountOption(const std::string& name, const std::string& value, int64_t high,
                     int64_t& count, std::string& error) {
    if (!ParseWholeNumber(value, 1, high, count)) {
        error = name + " needs a whole number from 1 to " + std::to_string(high) + ", not \"" +
                value + "\"";
        return false;
    }
    return true;
}

}  // namespace

bool ParseEndpoint(const std::string& text, std::optional<uint16_t> defaultPort,
                   stEndpoint& endpoint) {
    const size_t colon = text.find(':');
    const std::string address = text.substr(0, colon);
    int64_t port = defaultPort.value_or(0);
    if (!IsDottedAddress(address) || (colon == std::string::npos && !defaultPort) ||
        (colon != std::string::npos &&
         !ParseWholeNumber(std::string_view(text).substr(colon + 1), 0, 65535, port))) {
        return false;
    }
    endpoint = {address, static_cast<uint16_t>(port)};
    return true;
}

bool ParseCommandLine(const std::vector<std::string>& args, stFrontDeskOptions& options,
                      std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            return true;
        }
        if (i + 1 >= args.size()) {
            error = name.starts_with("--") ? name + " needs a value" : "unknown argument " + name;
            return false;
        }
        const std::string& value = args[++i];
        stEndpoint endpoint;
        int64_t count = 0;
        if (name == "--listen") {
            if (!ReadEndpointOption(name, value, std::nullopt, options.listen, error)) {
                return false;
            }
        } else if (name == "--scenario") {
            options.scenario = value;
        } else if (name == "--data") {
            options.data = value;
        } else if (name == "--journal") {
            options.journal = value;
        } else if (name == "--discovery") {
            if (!ReadEndpointOption(name, value, kDiscoveryPort, endpoint, error)) {
                return false;
            }
            options.discovery = endpoint;
        } else if (name == "--control") {
            if (!ReadEndpointOption(name, value, std::nullopt, endpoint, error)) {
                return false;
            }
            if (!endpoint.address.starts_with("127.")) {
                error = "--control takes commands from anyone who reaches it: loopback only";
                return false;
            }
            options.control = endpoint;
        } else if (name == "--max-connections") {
            if (!ReadCountOption(name, value, kMaxConnections, count, error)) {
                return false;
            }
            options.limits.maxConnections = static_cast<int>(count);
        } else if (name == "--idle-timeout") {
            if (!ReadCountOption(name, value, INT32_MAX, count, error)) {
                return false;
            }
            options.limits.idleTimeout = std::chrono::seconds(count);
        } else {
            error = "unknown argument " + name;
            return false;
        }
    }
    if (options.scenario.empty()) {
        error = "--scenario is missing";
        return false;
    }
    if (options.journal.empty()) {
        options.journal = options.data / "journal.jsonl";
    }
    return true;
}

}  // namespace hx
