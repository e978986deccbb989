#include "channel/machine_identity_kind.h"

#include <algorithm>
#include <span>
#include <string>

namespace hx {

namespace {

using WordList = std::span<const std::string_view>;

constexpr std::string_view kExcludedWords[] = {
    "BLUETOOTH", "적외선",   "IPSECSHM", "1394",       "SCHEDULER", "스케줄러",
    "VCD VNC",   "전화",     "천리안",   "Chollian",   "하이텔",    "가상",
    "공유",      "Virtual",  "VPN",      "P.P.P.o.E.", "PPPoE",     "PoET",
    "ADSL",      "PPP over", "TV/Video", "VMware",     "USB",
};
constexpr std::string_view kWirelessWords[] = {"WIRELESS", "무선", "WLAN", "IEEE", "802.11"};
constexpr std::string_view kVendors[] = {
    "REALTEK", "3COM",  "INTEL",    "SMC",   "NETGEAR", "SIS ",    "RTL8139",
    "NE2000",  "CISCO", "BROADCOM", "AVAYA", "XIRCOM",  "MARVELL",
};
constexpr std::string_view kMinorVendors[] = {
    "VIA", "AGERE", "SAMSUNG", "IBM", "ACCTON", "ADMTEK", "NATIONAL SEMICONDUCTOR",
};

constexpr std::string_view kExcludedMacs[] = {
    "00:00:00:00:00:00",
    "00:90:D0:10:80:00",
    "00:E0:06:09:55:66",
    "00:4E:4D:50:52:4F",
};
constexpr std::string_view kExcludedMacPrefixes[] = {
    "BE:C4:00", "00:53:45", "44:45:53", "52:54:05",       "E6:BE:93", "00:50:56",
    "00:50:F2", "06:00",    "00:4E:4D", "08:00:46:02:22", "00:C0:45",
};
constexpr size_t kMacTextLength = 17;
constexpr std::string_view kZeroLastOctets = "00:00:00";

// Only a to z change, so multi-byte text passes through untouched.
std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

bool ContainsAny(const std::string& upperText, WordList words) {
    return std::any_of(words.begin(), words.end(), [&upperText](std::string_view word) {
        return upperText.find(UpperAscii(word)) != std::string::npos;
    });
}

}  // namespace

bool IsExcludedMac(std::string_view macText) {
    if (macText.size() != kMacTextLength) {
        return true;
    }
    const std::string mac = UpperAscii(macText);
    const std::string_view view = mac;
    return std::find(std::begin(kExcludedMacs), std::end(kExcludedMacs), view) !=
               std::end(kExcludedMacs) ||
           std::any_of(std::begin(kExcludedMacPrefixes), std::end(kExcludedMacPrefixes),
                       [view](std::string_view prefix) { return view.starts_with(prefix); }) ||
           view.substr(9) == kZeroLastOctets;
}

enumNicKind ClassifyNic(std::string_view macText, std::string_view description) {
    const std::string text = UpperAscii(description);
    if (IsExcludedMac(macText) || (!text.empty() && ContainsAny(text, kExcludedWords))) {
        return NICKIND_EXCLUDED;
    }
    if (ContainsAny(text, kWirelessWords)) {
        if (ContainsAny(text, kVendors)) {
            return NICKIND_WIRELESS_VENDOR;
        }
        return ContainsAny(text, kMinorVendors) ? NICKIND_WIRELESS_MINOR_VENDOR
                                                : NICKIND_WIRELESS_OTHER;
    }
    if (ContainsAny(text, kVendors)) {
        return NICKIND_WIRED_VENDOR;
    }
    if (ContainsAny(text, kMinorVendors)) {
        return NICKIND_WIRED_MINOR_VENDOR;
    }
    return text.find("PCI ") != std::string::npos ? NICKIND_WIRED_PCI : NICKIND_OTHER;
}

}  // namespace hx
