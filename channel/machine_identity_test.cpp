#include "channel/machine_identity.h"

#include <gtest/gtest.h>

#include <regex>

#include "channel/testing_framework_key.h"
#include "platform/cp949.h"
#include "platform/envr.h"
#include "platform/registry_db.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

class CTableAdapters : public CNetworkAdapterSource {
public:
    std::vector<stNetworkAdapter> adapters;
    std::vector<stNetworkAdapter> ListAdapters() const override { return adapters; }
};

stNetworkAdapter Adapter(const std::string& description, std::array<uint8_t, 6> mac,
                         const std::string& ip = "") {
    stNetworkAdapter adapter;
    adapter.description = description;
    adapter.mac = mac;
    adapter.ipAddress = ip;
    adapter.ipMask = ip.empty() ? "" : "255.255.255.0";
    return adapter;
}

const std::array<uint8_t, 6> kBridgeMac = {0x02, 0x42, 0xAC, 0x11, 0x00, 0x01};
const std::array<uint8_t, 6> kRealtekMac = {0x00, 0xE0, 0x4C, 0x68, 0x00, 0x01};
const std::array<uint8_t, 6> kIntelMac = {0x8C, 0x16, 0x45, 0x0A, 0xBC, 0x02};
const std::array<uint8_t, 6> kBroadcomMac = {0x00, 0x10, 0x18, 0x0F, 0xEE, 0x03};

std::vector<std::string> Macs(const std::vector<stNicInfo>& nics) {
    std::vector<std::string> macs;
    for (const stNicInfo& nic : nics) {
        macs.push_back(nic.macText);
    }
    return macs;
}

class MachineIdentityTest : public ::testing::Test {
protected:
    void SetUp() override {
        CEnvr::SetFrameworkKey(kTestRegistryCompany, kTestRegistryApplication);
        stNetworkAdapter realtek =
            Adapter("Realtek PCI Ethernet Adapter (r8169)", kRealtekMac, "192.168.0.10");
        realtek.gateway = "192.168.0.1";
        realtek.dhcp = true;
        m_source.adapters = {
            Adapter("Virtual Ethernet Adapter (bridge)", kBridgeMac, "172.17.0.1"),
            realtek,
            Adapter("Intel PCI Wireless Adapter (iwlwifi)", kIntelMac),
            Adapter("Broadcom PCI Ethernet Adapter (tg3)", kBroadcomMac),
        };
    }
    void TearDown() override { CEnvr::SetFrameworkKey("", ""); }

    CTempDrive m_drive;
    CTableAdapters m_source;
};

TEST_F(MachineIdentityTest, ConfiguredAdaptersComeFirstAndEachAdapterOnce) {
    std::vector<stNicInfo> nics(3);  // whatever was there goes
    int count = -1;
    ASSERT_EQ(ListNicInfo(m_source, nics, count, 0), 4);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Macs(nics), (std::vector<std::string>{"00:E0:4C:68:00:01", "02:42:AC:11:00:01",
                                                    "00:10:18:0F:EE:03", "8C:16:45:0A:BC:02"}));
    const stNicInfo& realtek = nics[0];
    EXPECT_EQ(realtek.kind, 1u);
    EXPECT_EQ(realtek.description, "Realtek PCI Ethernet Adapter (r8169)");
    EXPECT_EQ(realtek.ipAddress, "192.168.0.10");
    EXPECT_EQ(realtek.ipMask, "255.255.255.0");
    EXPECT_EQ(realtek.gateway, "192.168.0.1");
    EXPECT_EQ(realtek.dhcp, 1u);
    EXPECT_EQ(nics[1].kind, 9u);
    EXPECT_EQ(nics[2].ipAddress, "") << "only what the hardware view knows";
    EXPECT_EQ(nics[3].kind, 4u);

    ASSERT_EQ(ListNicInfo(m_source, nics, count, 1), 4);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Macs(nics), (std::vector<std::string>{"00:E0:4C:68:00:01", "00:10:18:0F:EE:03",
                                                    "8C:16:45:0A:BC:02", "02:42:AC:11:00:01"}));
}

TEST_F(MachineIdentityTest, BridgeMiniportHidesEveryAddress) {
    m_source.adapters.push_back(
        Adapter("MAC 브리지 미니포트", {0x02, 0, 0, 0x11, 0x22, 0x33}, "10.0.0.5"));
    std::vector<stNicInfo> nics;
    int count = -1;
    ASSERT_EQ(ListNicInfo(m_source, nics, count, 1), 5);
    EXPECT_EQ(count, 0);
    for (const stNicInfo& nic : nics) {
        EXPECT_EQ(nic.ipAddress, "") << nic.description;
        EXPECT_EQ(nic.dhcp, 0u);
    }
}

TEST_F(MachineIdentityTest, DescriptionsAreCutTo63BytesWithoutSplittingCharacters) {
    const std::string korean =
        "한국어설명" + std::string("가나다라마바사아자차카타파하거너더러머버서어저처커터퍼허고노");
    m_source.adapters = {Adapter(std::string(80, 'x'), kRealtekMac), Adapter(korean, kIntelMac)};
    std::vector<stNicInfo> nics;
    int count = 0;
    ASSERT_EQ(ListNicInfo(m_source, nics, count, 0), 2);
    EXPECT_EQ(nics[0].description, std::string(63, 'x'));
    EXPECT_EQ(Cp949FromUtf8(nics[1].description).size(), 62u);
    EXPECT_TRUE(korean.starts_with(nics[1].description));
}

TEST_F(MachineIdentityTest, NoAdaptersNoList) {
    m_source.adapters.clear();
    std::vector<stNicInfo> nics(2);
    int count = -1;
    EXPECT_EQ(ListNicInfo(m_source, nics, count, 1), 0);
    EXPECT_TRUE(nics.empty());
    EXPECT_EQ(count, 0);
}

TEST_F(MachineIdentityTest, StoredKeyMacCountsOnlyWhenItMatchesExactly) {
    const CEnvr settings;
    const auto storedKeyMac = [] {
        CRegistryDb db;
        stRegValue value;
        EXPECT_TRUE(db.Open());
        db.QueryValue(CEnvr().SectionKeyPath("Computer"), "KeyMAC", value);
        return value;
    };

    EXPECT_EQ(ChooseKeyMac(m_source), "00:E0:4C:68:00:01");
    EXPECT_EQ(storedKeyMac(), MakeStringValue("")) << "the read stores its default";

    ASSERT_TRUE(settings.WriteString("Computer", "KeyMAC", "8C:16:45:0A:BC:02"));
    EXPECT_EQ(ChooseKeyMac(m_source), "8C:16:45:0A:BC:02");

    ASSERT_TRUE(settings.WriteString("Computer", "KeyMAC", "8c:16:45:0a:bc:02"));
    EXPECT_EQ(ChooseKeyMac(m_source), "00:E0:4C:68:00:01");
    EXPECT_EQ(storedKeyMac(), MakeStringValue("8c:16:45:0a:bc:02")) << "never written back";

    m_source.adapters.clear();
    EXPECT_EQ(ChooseKeyMac(m_source), "8c:16:45:0a:bc:02");
}

TEST_F(MachineIdentityTest, OnlyVirtualAdaptersStillIdentifyTheMachine) {
    m_source.adapters = {
        Adapter("VMware Virtual Ethernet Adapter", {0x00, 0x50, 0x56, 0xC0, 0x00, 0x08}),
        Adapter("Virtual Ethernet Adapter (bridge)", kBridgeMac, "172.17.0.1")};
    std::vector<stNicInfo> nics;
    int count = 0;
    ASSERT_EQ(ListNicInfo(m_source, nics, count, 1), 2);
    EXPECT_EQ(nics[0].kind, 9u);
    EXPECT_EQ(nics[1].kind, 9u);
    EXPECT_EQ(ChooseKeyMac(m_source), "02:42:AC:11:00:01") << "the configured one ranks first";
}

TEST_F(MachineIdentityTest, ThisMachinesAdaptersAreRankedAndWellFormed) {
    std::vector<stNicInfo> nics;
    int count = 0;
    const int listed = ListNicInfo(SystemNetworkAdapters(), nics, count, 1);
    ASSERT_EQ(listed, static_cast<int>(nics.size()));
    EXPECT_LE(count, listed);
    const std::regex macText("([0-9A-F]{2}:){5}[0-9A-F]{2}");
    for (size_t i = 0; i < nics.size(); ++i) {
        SCOPED_TRACE(nics[i].description);
        EXPECT_TRUE(std::regex_match(nics[i].macText, macText)) << nics[i].macText;
        EXPECT_TRUE(nics[i].kind >= 1 && nics[i].kind <= 9 && nics[i].kind != 7);
        EXPECT_TRUE(i == 0 || nics[i - 1].kind <= nics[i].kind);
    }
    EXPECT_EQ(ChooseKeyMac(SystemNetworkAdapters()), nics.empty() ? "" : nics.front().macText);
}

}  // namespace

}  // namespace hx
