#include "platform/network_adapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <utility>

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

struct stIdsNames {
    std::string vendor;
    std::string product;
};

// Looks vendorId (and productId under it) up in a pci.ids or usb.ids file:
// "vvvv  Vendor" lines, each followed by its "\tpppp  Product" lines.
stIdsNames LookUpIds(const std::vector<fs::path>& folders, const char* fileName, uint16_t vendorId,
                     std::optional<uint16_t> productId) {
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

void IdentifyPci(const stNetworkSystemPaths& paths, const fs::path& device, stDeviceIdentity& id) {
    id.bus = "PCI";
    const std::optional<uint16_t> vendorId = ReadHexId(device / "vendor");
    if (!vendorId) {
        return;
    }
    const stIdsNames names =
        LookUpIds(paths.idsFolders, "pci.ids", *vendorId, ReadHexId(device / "device"));
    id.vendor = TableVendor(kPciVendors, *vendorId);
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
        names =
            LookUpIds(paths.idsFolders, "usb.ids", *vendorId, ReadHexId(usbDevice / "idProduct"));
        id.vendor = TableVendor(kUsbVendors, *vendorId);
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
        id.vendor = TableVendor(kPciVendors, *vendorId);
    }
    return id;
}

bool IsWireless(const fs::path& interfaceDir) {
    return Exists(interfaceDir / "wireless") || Exists(interfaceDir / "phy80211") ||
           UeventValue(interfaceDir / "uevent", "DEVTYPE") == "wlan";
}

std::string Dotted(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

struct stFoundAdapter {
    int index = 0;
    in_addr_t rawAddress = 0;  // network order; 0 without an address
    stNetworkAdapter adapter;
};

void CollectHardware(const ifaddrs* list, std::vector<stFoundAdapter>& found) {
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET ||
            (entry->ifa_flags & IFF_LOOPBACK) != 0) {
            continue;
        }
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
        if (link->sll_hatype != ARPHRD_ETHER || link->sll_halen != 6) {
            continue;
        }
        stFoundAdapter adapter;
        adapter.index = link->sll_ifindex;
        adapter.adapter.name = entry->ifa_name;
        std::copy_n(link->sll_addr, 6, adapter.adapter.mac.begin());
        found.push_back(std::move(adapter));
    }
}

// The first IPv4 address of each adapter; address labels ("eth0:1") count for their interface.
void CollectAddresses(const ifaddrs* list, std::vector<stFoundAdapter>& found) {
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        const std::string_view label = entry->ifa_name;
        const std::string_view name = label.substr(0, label.find(':'));
        auto match = std::find_if(found.begin(), found.end(), [name](const stFoundAdapter& f) {
            return f.adapter.name == name && f.adapter.ipAddress.empty();
        });
        if (match == found.end()) {
            continue;
        }
        const in_addr address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
        match->rawAddress = address.s_addr;
        match->adapter.ipAddress = Dotted(address);
        if (entry->ifa_netmask != nullptr) {
            match->adapter.ipMask =
                Dotted(reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr);
        }
    }
}

using AddressKey = std::pair<int, in_addr_t>;

// Notes the interface and IPv4 address of one RTM_NEWADDR message when the
// address does not live for ever.
void NoteLeasedAddress(const nlmsghdr* message, std::set<AddressKey>& leased) {
    const auto* info = static_cast<const ifaddrmsg*>(NLMSG_DATA(message));
    uint32_t flags = info->ifa_flags;
    std::optional<in_addr_t> address;
    int length = static_cast<int>(IFA_PAYLOAD(message));
    for (const rtattr* attribute = IFA_RTA(info); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type == IFA_FLAGS && RTA_PAYLOAD(attribute) >= sizeof(uint32_t)) {
            std::memcpy(&flags, RTA_DATA(attribute), sizeof flags);
        } else if (attribute->rta_type == IFA_LOCAL &&
                   RTA_PAYLOAD(attribute) == sizeof(in_addr_t)) {
            in_addr_t value;
            std::memcpy(&value, RTA_DATA(attribute), sizeof value);
            address = value;
        }
    }
    if (address && (flags & IFA_F_PERMANENT) == 0) {
        leased.insert({static_cast<int>(info->ifa_index), *address});
    }
}

// Notes the leased addresses of one netlink reply; false once the dump has ended.
bool ReadAddressReply(const char* buffer, ssize_t size, std::set<AddressKey>& leased) {
    size_t offset = 0;
    const size_t total = static_cast<size_t>(size);
    // The NLMSG_OK/NLMSG_NEXT macros mix signed and unsigned lengths; this walks
    // the same aligned messages with unsigned arithmetic only.
    while (total - offset >= sizeof(nlmsghdr)) {
        const auto* message = reinterpret_cast<const nlmsghdr*>(buffer + offset);
        if (message->nlmsg_len < sizeof(nlmsghdr) || message->nlmsg_len > total - offset) {
            break;
        }
        offset += NLMSG_ALIGN(message->nlmsg_len);
        if (offset > total) {
            offset = total;
        }
        if (message->nlmsg_type == NLMSG_DONE || message->nlmsg_type == NLMSG_ERROR) {
            return false;
        }
        if (message->nlmsg_type == RTM_NEWADDR) {
            NoteLeasedAddress(message, leased);
        }
    }
    return true;
}

// IPv4 addresses whose lifetime runs out, i.e. that a DHCP client holds.
std::set<AddressKey> LeasedAddresses() {
    std::set<AddressKey> leased;
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0) {
        return leased;
    }
    const timeval timeout{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    struct {
        nlmsghdr header;
        ifaddrmsg body;
    } request{};
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = RTM_GETADDR;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.body.ifa_family = AF_INET;
    if (::send(fd, &request, sizeof request, 0) == static_cast<ssize_t>(sizeof request)) {
        alignas(nlmsghdr) char buffer[16384];
        ssize_t size;
        while ((size = ::recv(fd, buffer, sizeof buffer, 0)) > 0 &&
               ReadAddressReply(buffer, size, leased)) {
        }
    }
    ::close(fd);
    return leased;
}

std::string ReadWholeFile(const fs::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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
        in_addr address;
        std::memcpy(&address.s_addr, &raw, sizeof raw);
        return Dotted(address);
    }
    return {};
}

CLinuxNetworkAdapters::CLinuxNetworkAdapters(stNetworkSystemPaths paths)
    : m_paths(std::move(paths)) {}

std::vector<stNetworkAdapter> CLinuxNetworkAdapters::ListAdapters() const {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        return {};
    }
    std::vector<stFoundAdapter> found;
    CollectHardware(list, found);
    CollectAddresses(list, found);
    ::freeifaddrs(list);
    std::stable_sort(
        found.begin(), found.end(),
        [](const stFoundAdapter& a, const stFoundAdapter& b) { return a.index < b.index; });

    const std::string routeTable = ReadWholeFile(m_paths.routeTable);
    const std::set<AddressKey> leased = LeasedAddresses();
    std::vector<stNetworkAdapter> adapters;
    for (stFoundAdapter& entry : found) {
        stNetworkAdapter& adapter = entry.adapter;
        adapter.description = DescribeNetworkInterface(m_paths, adapter.name);
        adapter.gateway = DefaultGatewayOf(routeTable, adapter.name);
        adapter.dhcp =
            !adapter.ipAddress.empty() && leased.contains({entry.index, entry.rawAddress});
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

const CNetworkAdapterSource& SystemNetworkAdapters() {
    static const CLinuxNetworkAdapters adapters;
    return adapters;
}

}  // namespace hx
