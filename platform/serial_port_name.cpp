#include "platform/serial_port_name.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <system_error>

#include "platform/drive.h"

namespace hx {

namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";

bool StartsWithCom(std::string_view name) {
    return name.size() > 3 && (name[0] == 'C' || name[0] == 'c') &&
           (name[1] == 'O' || name[1] == 'o') && (name[2] == 'M' || name[2] == 'm');
}

// The n of "COMn"; none when the name is not one.
std::optional<unsigned> ComNumberOf(std::string_view name) {
    if (name.starts_with(kDevicePrefix)) {
        name.remove_prefix(kDevicePrefix.size());
    }
    if (!StartsWithCom(name)) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(3);
    unsigned number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

std::filesystem::path ResolveSerialPortPath(std::string_view name) {
    if (name.starts_with('/')) {
        return std::filesystem::path(name);
    }
    const std::optional<unsigned> number = ComNumberOf(name);
    if (!number) {
        return {};
    }
    const std::filesystem::path link =
        GetDriveFolder() / "dosdevices" / ("com" + std::to_string(*number));
    std::error_code ignored;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(link, ignored))) {
        return link;
    }
    // COM0 has no system port behind it: only a link leads anywhere.
    if (*number == 0) {
        return {};
    }
    return "/dev/ttyS" + std::to_string(*number - 1);
}

std::vector<std::string> ListSerialPorts() {
    std::vector<unsigned> numbers;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(GetDriveFolder() / "dosdevices", error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_symlink(error) && name.starts_with("com")) {
            if (const std::optional<unsigned> number = ComNumberOf(name)) {
                numbers.push_back(*number);
            }
        }
    }
    for (const unsigned number : SystemComPortNumbers()) {
        numbers.push_back(number);
    }
    if (numbers.empty()) {
        for (unsigned number = 1; number <= 10; ++number) {
            numbers.push_back(number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    std::vector<std::string> ports;
    for (const unsigned number : numbers) {
        ports.push_back("COM" + std::to_string(number));
    }
    return ports;
}

}  // namespace hx
