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
#include <string>
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

// The adapters of this machine.
const CNetworkAdapterSource& SystemNetworkAdapters();

}  // namespace hx
