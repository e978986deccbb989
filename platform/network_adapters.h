#pragma once
// The machine's network adapters: name, a description that says what the
// adapter is, hardware address and IPv4 configuration. The machine identity
// classifies adapters by words of their descriptions, so descriptions name the
// vendor, the bus ("PCI", "USB"), "Wireless" for wireless interfaces and
// "Virtual" for interfaces that have no device behind them, e.g.
//   "Realtek PCI Ethernet Adapter (r8169)"
//   "Intel PCI Wireless Adapter (iwlwifi): Wi-Fi 6 AX201"
//   "Virtual Ethernet Adapter (bridge)"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

struct stNetworkAdapter {
    std::string name;  // interface name, e.g. "enp3s0"
    std::string description;
    std::array<uint8_t, 6> mac{};
    std::string ipAddress;  // first IPv4 address, dotted; empty when it has none
    std::string ipMask;     // mask of that address
    std::string gateway;    // default gateway through the adapter; empty when none
    bool dhcp = false;      // the address holds a lease that runs out
};

class CNetworkAdapterSource {
public:
    virtual ~CNetworkAdapterSource() = default;
    // Adapters with a six-byte Ethernet-type hardware address, loopback left
    // out, in interface order. Empty when the system cannot be asked.
    virtual std::vector<stNetworkAdapter> ListAdapters() const = 0;
};

// Where the Linux enumeration looks; tests point these at folders of their own.
struct stNetworkSystemPaths {
    std::filesystem::path classNet = "/sys/class/net";
    std::filesystem::path virtualNet = "/sys/devices/virtual/net";
    std::filesystem::path routeTable = "/proc/net/route";
    // Folders searched for "pci.ids" and "usb.ids", the hardware name databases.
    std::vector<std::filesystem::path> idsFolders = {"/usr/share/misc", "/usr/share/hwdata"};
};

// The description of one interface, built from what sysfs tells about it: vendor
// (a built-in table of common vendors, else the name databases or the USB
// manufacturer text), bus, wireless or not, driver (or, for a virtual
// interface, its device type) and the product name where one is known.
std::string DescribeNetworkInterface(const stNetworkSystemPaths& paths, const std::string& name);

// The dotted default gateway of interfaceName in the text of /proc/net/route;
// empty when it has none.
std::string DefaultGatewayOf(std::string_view routeTable, std::string_view interfaceName);

// getifaddrs for addresses, sysfs for descriptions, the route table for
// gateways, the kernel's address lifetimes for the DHCP flag (an address
// without an endless lifetime came with a lease).
class CLinuxNetworkAdapters : public CNetworkAdapterSource {
public:
    explicit CLinuxNetworkAdapters(stNetworkSystemPaths paths = {});
    std::vector<stNetworkAdapter> ListAdapters() const override;

private:
    stNetworkSystemPaths m_paths;
};

// The adapters of this machine.
const CNetworkAdapterSource& SystemNetworkAdapters();

}  // namespace hx
