#include "platform/hardware_ids.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace hx {

namespace fs = std::filesystem;

namespace {

struct stVendorName {
    uint16_t id;
    const char* name;
};

// Short names, spelled the way adapter descriptions usually spell them.
constexpr stVendorName kPciVendors[] = {
    {0x10ec, "Realtek"},
    {0x8086, "Intel"},
    {0x14e4, "Broadcom"},
    {0x10b7, "3Com"},
    {0x10b8, "SMC"},
    {0x1385, "Netgear"},
    {0x1039, "SiS"},
    {0x1137, "Cisco"},
    {0x11ab, "Marvell"},
    {0x1b4b, "Marvell"},
    {0x115d, "Xircom"},
    {0x1106, "VIA"},
    {0x11c1, "Agere"},
    {0x144d, "Samsung"},
    {0x1014, "IBM"},
    {0x1113, "Accton"},
    {0x1317, "ADMtek"},
    {0x100b, "National Semiconductor"},
    {0x15ad, "VMware"},
    {0x1af4, "Red Hat"},
    {0x168c, "Qualcomm Atheros"},
    {0x1969, "Qualcomm Atheros"},
    {0x14c3, "MediaTek"},
    {0x15b3, "Mellanox"},
    {0x1d6a, "Aquantia"},
    {0x1022, "AMD"},
};

constexpr stVendorName kUsbVendors[] = {
    {0x0bda, "Realtek"},          {0x8087, "Intel"},    {0x0b95, "ASIX"},    {0x148f, "Ralink"},
    {0x0cf3, "Qualcomm Atheros"}, {0x0e8d, "MediaTek"}, {0x2357, "TP-Link"}, {0x0846, "Netgear"},
    {0x04e8, "Samsung"},          {0x13b1, "Linksys"},  {0x2001, "D-Link"},
};

template <size_t N>
std::string TableVendor(const stVendorName (&table)[N], uint16_t id) {
    const auto* found = std::find_if(std::begin(table), std::end(table),
                                     [id](const stVendorName& v) { return v.id == id; });
    return found != std::end(table) ? found->name : std::string();
}

std::string HexId(uint16_t id) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", id);
    return text;
}

}  // namespace

std::string KnownPciVendor(uint16_t vendorId) {
    return TableVendor(kPciVendors, vendorId);
}

std::string KnownUsbVendor(uint16_t vendorId) {
    return TableVendor(kUsbVendors, vendorId);
}

// "vvvv  Vendor" lines, each followed by its "\tpppp  Product" lines.
stIdsNames LookUpHardwareIds(const std::vector<fs::path>& folders, const char* fileName,
                             uint16_t vendorId, std::optional<uint16_t> productId) {
    const std::string vendorKey = HexId(vendorId) + "  ";
    const std::string productKey = productId ? '\t' + HexId(*productId) + "  " : std::string();
    for (const fs::path& folder : folders) {
        std::ifstream in(folder / fileName);
        if (!in) {
            continue;
        }
        stIdsNames names;
        std::string line;
        while (std::getline(in, line)) {
            if (names.vendor.empty()) {
                if (line.starts_with(vendorKey)) {
                    names.vendor = line.substr(vendorKey.size());
                }
            } else if (line.empty() || line[0] != '\t') {
                break;  // the next vendor
            } else if (!productKey.empty() && line.starts_with(productKey)) {
                names.product = line.substr(productKey.size());
                break;
            }
        }
        return names;
    }
    return {};
}

}  // namespace hx
