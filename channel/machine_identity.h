#pragma once
// The machine's identity towards the front-desk server: its network adapters,
// ranked by kind, and the key MAC chosen among them.
//
// Adapters are gathered from two views of the system and merged by MAC text:
// first the adapters with an IPv4 configuration (with addresses, gateway and
// DHCP flag), then every adapter the system knows, left out where the first
// view has its MAC already. Each view is ranked by kind on its own.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "channel/machine_identity_kind.h"
#include "platform/network_adapters.h"

namespace hx {

struct stNicInfo {
    std::string description;  // at most 63 bytes as CP949
    std::string macText;      // "%02X:%02X:%02X:%02X:%02X:%02X"
    std::string ipAddress;    // the addresses are empty for adapters without IPv4 configuration
    std::string ipMask;
    std::string gateway;
    uint32_t dhcp = 0;
    uint32_t kind = NICKIND_OTHER;
};

// Upper-case hexadecimal, 17 characters.
std::string MacText(const std::array<uint8_t, 6>& mac);

// Fills list with the adapters of source: ordered by kind 1 to 9 when sorted
// is non-zero, else in merge order. count receives the number of adapters with
// an IPv4 configuration. Returns the number of entries in list.
int ListNicInfo(const CNetworkAdapterSource& source, std::vector<stNicInfo>& list, int& count,
                int sorted);

// The stored "Computer\KeyMAC" when it is exactly the MAC text of one of the
// adapters (or when there are none); otherwise the MAC text of the best
// ranked adapter. Nothing is written back.
std::string ChooseKeyMac(const CNetworkAdapterSource& source);

}  // namespace hx
