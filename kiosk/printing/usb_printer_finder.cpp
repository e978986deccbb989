#include "kiosk/printing/usb_printer_finder.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

namespace hx {

namespace {

// Sysfs attribute files are a line or a few; nothing longer is read.
constexpr std::streamsize kAttributeLimit = 4096;

std::string ReadAttribute(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string text(kAttributeLimit, '\0');
    in.read(text.data(), kAttributeLimit);
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// "DEVNAME=usb/lp0" of a uevent file; only a relative name below the root.
std::optional<std::filesystem::path> DeviceName(const std::string& uevent) {
    const std::string key = "DEVNAME=";
    size_t at = 0;
    while (at < uevent.size()) {
        const size_t end = std::min(uevent.find('\n', at), uevent.size());
        const std::string_view line(uevent.data() + at, end - at);
        if (line.starts_with(key)) {
            const std::filesystem::path name(line.substr(key.size()));
            const bool inside = !name.empty() && name.is_relative() &&
                                std::none_of(name.begin(), name.end(),
                                             [](const auto& part) { return part == ".."; });
            return inside ? std::optional(name) : std::nullopt;
        }
        at = end + 1;
    }
    return std::nullopt;
}

// The USB device is the parent of the interface that the class device's
// "device" link leads to.
std::string VendorOf(const std::filesystem::path& classDevice) {
    std::error_code error;
    const std::filesystem::path interface =
        std::filesystem::canonical(classDevice / "device", error);
    return error ? std::string() : FirstLine(ReadAttribute(interface.parent_path() / "idVendor"));
}

}  // namespace

std::vector<std::filesystem::path> FindUsbPrinterNodes(const stUsbRoots& roots,
                                                       std::string_view vendorId) {
    std::vector<std::filesystem::path> classDevices;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(roots.sysfs / "class" / "usbmisc", error)) {
        if (entry.path().filename().string().starts_with("lp")) {
            classDevices.push_back(entry.path());
        }
    }
    std::sort(classDevices.begin(), classDevices.end());
    std::vector<std::filesystem::path> nodes;
    for (const std::filesystem::path& device : classDevices) {
        if (!vendorId.empty() && VendorOf(device) != vendorId) {
            continue;
        }
        if (const auto name = DeviceName(ReadAttribute(device / "uevent"))) {
            nodes.push_back(roots.dev / *name);
        }
    }
    return nodes;
}

}  // namespace hx
