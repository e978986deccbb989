#include "channel/machine_identity_kind.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

struct stKindCase {
    const char* mac;
    const char* description;
    uint32_t kind;
};

constexpr const char* kGoodMac = "00:1A:2B:3C:4D:5E";

TEST(MachineIdentityKindTest, DescriptionsRankWiredVendorsFirstAndExcludeWhatIsNoCard) {
    const stKindCase cases[] = {
        {"00:E0:4C:68:12:34", "Realtek PCIe GBE Family Controller", 1},
        {kGoodMac, "VIA Rhine II Fast Ethernet Adapter", 2},
        {kGoodMac, "VIA Rhine with Realtek PHY", 1},  // the first list wins
        {kGoodMac, "National Semiconductor DP83815", 2},
        {kGoodMac, "SiS 900 PCI Fast Ethernet", 1},
        {kGoodMac, "Generic PCI Ethernet", 3},
        {kGoodMac, "Generic PCIe Ethernet", 8},  // "PCI " needs its blank
        {kGoodMac, "", 8},
        {"8C:16:45:AA:BB:CC", "Intel(R) Wireless-AC 9560 160MHz", 4},
        {kGoodMac, "Broadcom 802.11n Network Adapter", 4},
        {kGoodMac, "Samsung wlan card", 5},
        {kGoodMac, "Acme IEEE adapter", 6},
        {kGoodMac, "무선 랜 카드", 6},
        {kGoodMac, "VMware Accelerated AMD PCNet Adapter", 9},
        {kGoodMac, "Realtek USB GbE Family Controller", 9},
        {kGoodMac, "Bluetooth Device (Personal Area Network)", 9},
        {kGoodMac, "WAN Miniport (PPPOE)", 9},
        {kGoodMac, "가상 어댑터", 9},
        {kGoodMac, "Intel virtual function", 9},
        // Descriptions as the Linux enumeration builds them.
        {kGoodMac, "Realtek PCI Ethernet Adapter (r8169)", 1},
        {kGoodMac, "Intel PCI Wireless Adapter (iwlwifi): Wi-Fi 6 AX201", 4},
        {kGoodMac, "Example Networks PCI Ethernet Adapter (xn)", 3},
        {kGoodMac, "Red Hat Ethernet Adapter (virtio_net)", 8},
        {kGoodMac, "Virtual Ethernet Adapter (bridge)", 9},
        {kGoodMac, "Realtek USB Ethernet Adapter (r8152): USB 10/100/1000 LAN", 9},
    };
    for (const stKindCase& c : cases) {
        EXPECT_EQ(ClassifyNic(c.mac, c.description), c.kind) << c.description;
    }
}

TEST(MachineIdentityKindTest, UnusableMacsAreExcludedWhateverTheDescription) {
    const char* excluded[] = {
        "00:00:00:00:00:00",  "00:50:56:C0:00:08",
        "00:50:56:c0:00:08",  "00:0C:29:00:00:00",
        "00:E0:06:09:55:66",  "06:00:11:22:33:44",
        "08:00:46:02:22:99",  "00:1A:2B:3C:4D",
        "00:1A:2B:3C:4D:5E ", "",
    };
    for (const char* mac : excluded) {
        EXPECT_TRUE(IsExcludedMac(mac)) << mac;
        EXPECT_EQ(ClassifyNic(mac, "Realtek PCIe GBE Family Controller"), 9u) << mac;
    }
    for (const char* mac :
         {"00:0C:29:12:34:56", "52:54:00:12:34:56", "00:1a:2b:3c:4d:5e", "06:01:11:22:33:44"}) {
        EXPECT_FALSE(IsExcludedMac(mac)) << mac;
    }
}

}  // namespace

}  // namespace hx
