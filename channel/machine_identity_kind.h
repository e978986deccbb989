#pragma once
// The kind of a network adapter, from its description and MAC text. Kinds
// rank real wired cards of well-known vendors first, then wireless cards, then
// whatever is left; adapters that are not network cards of this machine
// (virtual, dial-up, tunnels, USB, ...) and unusable MAC addresses come last.

#include <cstdint>
#include <string_view>

namespace hx {

enum enumNicKind : uint32_t {
    NICKIND_WIRED_VENDOR = 1,        // a vendor of the first list
    NICKIND_WIRED_MINOR_VENDOR = 2,  // a vendor of the second list
    NICKIND_WIRED_PCI = 3,           // described as "PCI "
    NICKIND_WIRELESS_VENDOR = 4,
    NICKIND_WIRELESS_MINOR_VENDOR = 5,
    NICKIND_WIRELESS_OTHER = 6,
    NICKIND_OTHER = 8,  // also the kind before classification
    NICKIND_EXCLUDED = 9,
};

// True for MAC texts that cannot identify this machine: not 17 characters,
// all zeros, known virtual or dial-up prefixes, or zeros in the last three
// octets. Case does not matter.
bool IsExcludedMac(std::string_view macText);

// The kind of an adapter. Words are matched anywhere in the description,
// ignoring the case of a to z.
enumNicKind ClassifyNic(std::string_view macText, std::string_view description);

}  // namespace hx
