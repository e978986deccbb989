#include "channel/server_ip_pool.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <vector>

#include "channel/testing_framework_key.h"
#include "platform/drive.h"
#include "platform/envr.h"
#include "platform/registry_db.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

class ServerIpPoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        CEnvr::SetFrameworkKey(kTestRegistryCompany, kTestRegistryApplication);
        std::filesystem::create_directories(GetWindowsFolder());
    }
    void TearDown() override { CEnvr::SetFrameworkKey("", ""); }

    // What the store holds, read without storing any default.
    static std::optional<stRegValue> Stored(const char* name) {
        CRegistryDb db;
        stRegValue value;
        if (!db.Open() ||
            db.QueryValue(CEnvr().SectionKeyPath("TCP/IP"), name, value) != enumRegStatus::Ok) {
            return std::nullopt;
        }
        return value;
    }

    static void StoreIndex(int index) {
        ASSERT_TRUE(CEnvr().WriteInt("TCP/IP", "NextIndex", index));
    }

    // The addresses of the next n connects.
    static std::vector<std::string> Connects(int n) {
        std::vector<std::string> addresses;
        for (int i = 0; i < n; ++i) {
            CServerIpPool pool;
            pool.MoveNext();
            addresses.push_back(pool.GetAddress());
        }
        return addresses;
    }

    CTempDrive m_drive;
};

TEST_F(ServerIpPoolTest, FreshMachineConnectsToLoopbackAndLeavesEmptyEntries) {
    EXPECT_EQ(Connects(1), std::vector<std::string>{"127.0.0.1"});
    EXPECT_EQ(Stored("NextIndex"), MakeDwordValue(static_cast<uint32_t>(-1)));
    EXPECT_EQ(Stored("Server"), MakeStringValue("")) << "loopback is the reading, not the value";
    EXPECT_EQ(Stored("Server1"), MakeStringValue(""));
    EXPECT_EQ(Stored("MainServer"), std::nullopt);

    EXPECT_EQ(Connects(1), std::vector<std::string>{"127.0.0.1"});
    EXPECT_EQ(Stored("MainServer"), MakeStringValue(""));
    EXPECT_EQ(Stored("NextIndex"), MakeDwordValue(0));
}

TEST_F(ServerIpPoolTest, ConnectsWalkEveryEntryThenStartOver) {
    ASSERT_TRUE(CServerIpPool::WriteServerData(-1, "10.0.0.1"));
    ASSERT_TRUE(CServerIpPool::WriteServerData(0, "10.0.0.2"));
    EXPECT_EQ(Connects(4),
              (std::vector<std::string>{"10.0.0.2", "10.0.0.1", "10.0.0.2", "10.0.0.1"}));

    ASSERT_TRUE(CServerIpPool::WriteServerData(1, "10.0.0.3"));
    ASSERT_TRUE(CServerIpPool::WriteServerData(2, "10.0.0.4:255.0.0.0"));
    EXPECT_EQ(Connects(5), (std::vector<std::string>{"10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.1",
                                                     "10.0.0.2"}));
    EXPECT_EQ(Stored("Server2"), MakeStringValue("10.0.0.4:255.0.0.0"));
    EXPECT_EQ(Stored("Server3"), MakeStringValue("")) << "the end of the list was looked at";
}

TEST_F(ServerIpPoolTest, EmptyOrUnknownEntryRestartsWithTheLastGoodServer) {
    ASSERT_TRUE(CServerIpPool::WriteWiniIniServer("192.168.0.9"));
    ASSERT_TRUE(CServerIpPool::WriteServerData(0, "10.0.0.2"));
    StoreIndex(-1);  // MainServer is empty
    EXPECT_EQ(Connects(1), std::vector<std::string>{"192.168.0.9"});
    EXPECT_EQ(Stored("NextIndex"), MakeDwordValue(0));

    StoreIndex(7);  // an index past the list
    EXPECT_EQ(Connects(1), std::vector<std::string>{"192.168.0.9"});
    EXPECT_EQ(Connects(1), std::vector<std::string>{"10.0.0.2"});

    // A stored index at the very top must not overflow looking past itself.
    ASSERT_TRUE(CServerIpPool::WriteServerData(INT_MAX, "10.0.0.5"));
    StoreIndex(INT_MAX);
    EXPECT_EQ(Connects(1), std::vector<std::string>{"10.0.0.5"});
    EXPECT_EQ(Stored("NextIndex"), MakeDwordValue(static_cast<uint32_t>(-1)));
}

TEST_F(ServerIpPoolTest, EntryZeroDefaultsToTheWinIniServer) {
    ASSERT_TRUE(CServerIpPool::WriteWiniIniServer("192.168.0.9"));
    EXPECT_EQ(CServerIpPool::GetServerData(0), "192.168.0.9");
    EXPECT_EQ(Stored("Server"), MakeStringValue("192.168.0.9"));
    EXPECT_EQ(CServerIpPool::GetKey(-5), "MainServer");
    EXPECT_EQ(CServerIpPool::GetKey(12), "Server12");
}

TEST_F(ServerIpPoolTest, EntriesSplitIntoAddressAndMask) {
    ASSERT_TRUE(CServerIpPool::WriteServerData(0, "10.1.2.3:255.255.255.0"));
    CServerIpPool pool;
    EXPECT_EQ(pool.GetEntry(), "10.1.2.3:255.255.255.0");
    EXPECT_EQ(pool.GetAddress(), "10.1.2.3");
    EXPECT_EQ(pool.GetMask(), 0x00FFFFFFu) << "255, 255, 255, 0 from the lowest byte up";

    EXPECT_EQ(ServerEntryAddress("*"), "*");
    EXPECT_EQ(ServerEntryAddress(":255.0.0.0"), "");
    EXPECT_EQ(ServerEntryAddress("a:b:c"), "a");
    EXPECT_EQ(ServerEntryMask("10.1.2.3"), 0u);
    EXPECT_EQ(ServerEntryMask("a:255.255"), 0x0000FFFFu);
    EXPECT_EQ(ServerEntryMask("a:1.2.3.4.5"), 0x04030201u) << "at most four parts";
    EXPECT_EQ(ServerEntryMask("a:255..7"), 0x000000FFu) << "a part starting with a dot ends it";
    EXPECT_EQ(ServerEntryMask("a:300.-1"), 0x0000FF2Cu) << "each value cut to a byte";
    EXPECT_EQ(ServerEntryMask("a:b:255.0"), 0u);
}

TEST_F(ServerIpPoolTest, WinIniHoldsTheLastGoodServer) {
    EXPECT_EQ(CServerIpPool::GetWiniIniServer("none"), "none");
    ASSERT_TRUE(CServerIpPool::WriteWiniIniServer("10.9.8.7"));
    EXPECT_EQ(CServerIpPool::GetWiniIniServer("none"), "10.9.8.7");
    EXPECT_TRUE(std::filesystem::exists(m_drive.Folder() / "Windows/win.ini"));

    const std::string longText(70, 'x');
    ASSERT_TRUE(CServerIpPool::WriteWiniIniServer(longText));
    EXPECT_EQ(CServerIpPool::GetWiniIniServer(""), longText.substr(0, 63));
}

TEST(ServerIpPoolWithoutWindowsFolderTest, LeavesWinIniAlone) {
    CTempDrive drive;  // nothing has created the Windows folder yet
    EXPECT_EQ(CServerIpPool::GetWiniIniServer("fallback"), "fallback");
    EXPECT_FALSE(CServerIpPool::WriteWiniIniServer("10.9.8.7"));
    EXPECT_FALSE(std::filesystem::exists(drive.Folder() / "Windows"));
}

}  // namespace

}  // namespace hx
