#pragma once
// The Linux back end of the adapter list: descriptions from sysfs, gateways
// from the route table. Plain file reading, so tests give it folders of their own.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/network_adapters.h"

namespace hx {

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

}  // namespace hx
