#include "platform/linux_network_adapters.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/hardware_ids.h"

namespace hx {

namespace fs = std::filesystem;

namespace {

// What sysfs tells about the device behind an interface.
struct stDeviceIdentity {
    std::string vendor;
    std::string bus;  // "PCI", "USB" or empty
    std::string driver;
    std::string product;
};

std::string ReadFirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

// "0x10ec" or "0bda".
std::optional<uint16_t> ReadHexId(const fs::path& file) {
    std::string text = ReadFirstLine(file);
    std::string_view digits = text;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
    }
    unsigned value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() ||
        value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(value);
}

std::string LinkTargetName(const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    return error ? std::string() : target.filename().string();
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// The KEY=value of a uevent file; empty when missing.
std::string UeventValue(const fs::path& file, std::string_view key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=') {
            return line.substr(key.size() + 1);
        }
    }
    return {};
}

void IdentifyPci(const stNetworkSystemPaths& paths, const fs::path& device, stDeviceIdentity& id) {
    id.bus = "PCI";
    const std::optional<uint16_t> vendorId = ReadHexId(device / "vendor");
    if (!vendorId) {
        return;
    }
    const stIdsNames names =
        LookUpHardwareIds(paths.idsFolders, "pci.ids", *vendorId, ReadHexId(device / "device"));
    id.vendor = KnownPciVendor(*vendorId);
    if (id.vendor.empty()) {
        id.vendor = names.vendor;
    }
    id.product = names.product;
}

// The interface's device is a USB interface; the ids and names sit on its parent.
void IdentifyUsb(const stNetworkSystemPaths& paths, const fs::path& device, stDeviceIdentity& id) {
    id.bus = "USB";
    const fs::path usbDevice = device / "..";
    const std::optional<uint16_t> vendorId = ReadHexId(usbDevice / "idVendor");
    stIdsNames names;
    if (vendorId) {
        names = LookUpHardwareIds(paths.idsFolders, "usb.ids", *vendorId,
                                  ReadHexId(usbDevice / "idProduct"));
        id.vendor = KnownUsbVendor(*vendorId);
    }
    if (id.vendor.empty()) {
        id.vendor = ReadFirstLine(usbDevice / "manufacturer");
    }
    if (id.vendor.empty()) {
        id.vendor = names.vendor;
    }
    id.product = ReadFirstLine(usbDevice / "product");
    if (id.product.empty()) {
        id.product = names.product;
    }
}

stDeviceIdentity IdentifyDevice(const stNetworkSystemPaths& paths, const fs::path& device) {
    stDeviceIdentity id;
    if (!Exists(device)) {
        return id;
    }
    id.driver = LinkTargetName(device / "driver");
    const std::string bus = LinkTargetName(device / "subsystem");
    if (bus == "pci") {
        IdentifyPci(paths, device, id);
    } else if (bus == "usb") {
        IdentifyUsb(paths, device, id);
    } else if (const std::optional<uint16_t> vendorId = ReadHexId(device / "vendor")) {
        // Paravirtual buses such as virtio carry PCI vendor ids.
        id.vendor = KnownPciVendor(*vendorId);
    }
    return id;
}

bool IsWireless(const fs::path& interfaceDir) {
    return Exists(interfaceDir / "wireless") || Exists(interfaceDir / "phy80211") ||
           UeventValue(interfaceDir / "uevent", "DEVTYPE") == "wlan";
}

// The bytes of an address as they lie in memory, dotted.
std::string DottedBytes(const uint8_t (&bytes)[4]) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

}  // namespace

std::string DescribeNetworkInterface(const stNetworkSystemPaths& paths, const std::string& name) {
    const fs::path interfaceDir = paths.classNet / name;
    const bool isVirtual = Exists(paths.virtualNet / name);
    const stDeviceIdentity id = IdentifyDevice(paths, interfaceDir / "device");
    std::string text;
    for (const std::string& word : {std::string(isVirtual ? "Virtual" : ""), id.vendor, id.bus}) {
        if (!word.empty()) {
            text += word + ' ';
        }
    }
    text += IsWireless(interfaceDir) ? "Wireless Adapter" : "Ethernet Adapter";
    const std::string kindOfDevice =
        !id.driver.empty() ? id.driver : UeventValue(interfaceDir / "uevent", "DEVTYPE");
    if (!kindOfDevice.empty()) {
        text += " (" + kindOfDevice + ')';
    }
    if (!id.product.empty()) {
        text += ": " + id.product;
    }
    return text;
}

std::string DefaultGatewayOf(std::string_view routeTable, std::string_view interfaceName) {
    constexpr unsigned kRouteGateway = 0x2;
    std::istringstream lines{std::string(routeTable)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name, destination, gateway, flagsText;
        if (!(fields >> name >> destination >> gateway >> flagsText) || name != interfaceName ||
            destination != "00000000") {
            continue;
        }
        uint32_t raw = 0;
        unsigned flags = 0;
        const auto gatewayEnd = gateway.data() + gateway.size();
        const auto flagsEnd = flagsText.data() + flagsText.size();
        if (std::from_chars(gateway.data(), gatewayEnd, raw, 16).ptr != gatewayEnd ||
            std::from_chars(flagsText.data(), flagsEnd, flags, 16).ptr != flagsEnd ||
            (flags & kRouteGateway) == 0 || raw == 0) {
            continue;
        }
        // The kernel prints the address's network-order bytes as a host integer.
        uint8_t bytes[4];
        std::memcpy(bytes, &raw, sizeof bytes);
        return DottedBytes(bytes);
    }
    return {};
}

}  // namespace hx
