#include "platform/envr.h"

#include <gtest/gtest.h>

#include <barrier>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/registry_db.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

class EnvrTest : public ::testing::Test {
protected:
    void SetUp() override {
        CEnvr::SetFrameworkKey("Norvane", "HxKiosk");
        m_envr = CEnvr();
    }
    void TearDown() override { CEnvr::SetFrameworkKey("", ""); }

    // What the store holds, read past CEnvr.
    std::optional<stRegValue> Stored(const char* section, const char* name) {
        CRegistryDb db;
        stRegValue value;
        if (!db.Open() ||
            db.QueryValue(m_envr.SectionKeyPath(section), name, value) != enumRegStatus::Ok) {
            return std::nullopt;
        }
        return value;
    }

    void Store(const char* section, const char* name, const stRegValue& value) {
        CRegistryDb db;
        ASSERT_TRUE(db.Open());
        ASSERT_EQ(db.CreateKey(m_envr.SectionKeyPath(section)), enumRegStatus::Ok);
        ASSERT_EQ(db.SetValue(m_envr.SectionKeyPath(section), name, value), enumRegStatus::Ok);
    }

    CTempDrive m_drive;
    CEnvr m_envr;
};

TEST_F(EnvrTest, FirstReadStoresItsDefaultForEveryLaterReader) {
    EXPECT_EQ(m_envr.GetInt("Settings", "ConfigPW", 4179), 4179);
    EXPECT_EQ(m_envr.GetInt("Settings", "ConfigPW", 0), 4179);
    EXPECT_EQ(Stored("Settings", "ConfigPW"), MakeDwordValue(4179));

    EXPECT_EQ(m_envr.GetString("KIOSK", "KioskName", "로비 1"), "로비 1");
    EXPECT_EQ(m_envr.GetString("KIOSK", "KioskName", "other"), "로비 1");
    // UTF-8 bytes with the terminating zero counted in the size.
    EXPECT_EQ(Stored("KIOSK", "KioskName"), MakeStringValue("로비 1"));
    EXPECT_EQ(Stored("KIOSK", "KioskName")->data.size(), std::string("로비 1").size() + 1);

    EXPECT_EQ(m_envr.GetString("KIOSK", "Nothing", nullptr), "");
    EXPECT_EQ(Stored("KIOSK", "Nothing"), MakeStringValue(""));
}

TEST_F(EnvrTest, WritesAreReadBackWhateverTheCase) {
    EXPECT_TRUE(m_envr.WriteInt("settings", "pcblog", 0));
    EXPECT_EQ(m_envr.GetInt("SETTINGS", "PCBLog", 1), 0);
    EXPECT_TRUE(m_envr.WriteInt("Settings", "PCBLOG", -1));  // a DWORD of 0xFFFFFFFF
    EXPECT_EQ(m_envr.GetInt("Settings", "PCBLog", 1), -1);
    EXPECT_EQ(Stored("Settings", "PCBLog"), MakeDwordValue(0xFFFFFFFFu));

    EXPECT_TRUE(m_envr.WriteString("TCP/IP", "Server", "127.0.0.2"));
    EXPECT_EQ(m_envr.GetString("tcp/ip", "SERVER", ""), "127.0.0.2");
}

TEST_F(EnvrTest, ValuesOfTheWrongTypeOrSizeAreReplacedByTheDefault) {
    Store("Settings", "AsText", MakeStringValue("1"));
    Store("Settings", "Short", stRegValue{enumRegType::Dword, {1, 0}});
    Store("Settings", "Binary", stRegValue{enumRegType::Binary, {1, 0, 0, 0}});
    for (const char* name : {"AsText", "Short", "Binary"}) {
        EXPECT_EQ(m_envr.GetInt("Settings", name, 9), 9) << name;
        EXPECT_EQ(Stored("Settings", name), MakeDwordValue(9)) << name;
    }

    Store("Settings", "Number", MakeDwordValue(5));
    EXPECT_EQ(m_envr.GetString("Settings", "Number", "d"), "d");
    EXPECT_EQ(Stored("Settings", "Number"), MakeStringValue("d"));

    // Expandable and multi-strings are strings: read as they are, not replaced.
    Store("Settings", "Expand", MakeStringValue("%TEMP%\\x", enumRegType::ExpandSz));
    Store("Settings", "Multi", stRegValue{enumRegType::MultiSz, {'a', 0, 'b', 0, 0}});
    Store("Settings", "Unterminated", stRegValue{enumRegType::Sz, {'o', 'k'}});
    EXPECT_EQ(m_envr.GetString("Settings", "Expand", "d"), "%TEMP%\\x");
    EXPECT_EQ(m_envr.GetString("Settings", "Multi", "d"), "a");
    EXPECT_EQ(m_envr.GetString("Settings", "Unterminated", "d"), "ok");
    EXPECT_EQ(Stored("Settings", "Multi")->type, enumRegType::MultiSz);
}

TEST_F(EnvrTest, NullValueDeletesTheValueAndNullNameTheSection) {
    m_envr.WriteString("Settings", "QuitServer", "0");
    m_envr.WriteInt("Settings", "ServiceMon", 1);
    m_envr.WriteInt("KIOSK", "KioskNo", 3);

    EXPECT_TRUE(m_envr.WriteString("Settings", "QuitServer", nullptr));
    EXPECT_FALSE(Stored("Settings", "QuitServer"));
    EXPECT_EQ(Stored("Settings", "ServiceMon"), MakeDwordValue(1));
    EXPECT_TRUE(m_envr.WriteString("Settings", "QuitServer", nullptr));  // already gone

    EXPECT_TRUE(m_envr.WriteString("settings", nullptr, nullptr));
    CRegistryDb db;
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.FindKey(m_envr.SectionKeyPath("Settings")), enumRegStatus::NotFound);
    EXPECT_EQ(Stored("KIOSK", "KioskNo"), MakeDwordValue(3));
    EXPECT_TRUE(m_envr.WriteString("Settings", nullptr, nullptr));

    // An empty section would take every section with it.
    EXPECT_FALSE(m_envr.WriteString("", nullptr, nullptr));
    EXPECT_FALSE(m_envr.WriteString(nullptr, nullptr, "x"));
    EXPECT_EQ(Stored("KIOSK", "KioskNo"), MakeDwordValue(3));
}

TEST_F(EnvrTest, ApplicationKeyComesFromTheFrameworkKeyOrDotDefault) {
    const std::string software = "HKEY_LOCAL_MACHINE\\SOFTWARE\\";
    EXPECT_EQ(CEnvr().SectionKeyPath("Settings"), software + "Norvane\\HxKiosk\\Settings");
    EXPECT_EQ(CEnvr("Tool").SectionKeyPath("Settings"), software + "Norvane\\Tool\\Settings");
    CEnvr("Tool").WriteInt("Settings", "ShowMouse", 0);
    EXPECT_EQ(CEnvr().GetInt("Settings", "ShowMouse", 1), 1);  // another application's tree

    CEnvr::SetFrameworkKey("Norvane", "");
    EXPECT_EQ(CEnvr().GetApplication(), ".Default");
    EXPECT_EQ(CEnvr().SectionKeyPath("S"), software + "Norvane\\.Default\\S");
    CEnvr::SetFrameworkKey("", "HxKiosk");
    EXPECT_EQ(CEnvr().SectionKeyPath("S"), software + ".Default\\S");
    EXPECT_EQ(CEnvr("Tool").SectionKeyPath("S"), software + "Tool\\S");
}

TEST_F(EnvrTest, BrokenStoreGivesDefaultsAndFailedWrites) {
    std::filesystem::create_directories(GetWindowsFolder());
    std::ofstream(CRegistryDb::DefaultFile()) << std::string(4096, '\x5a');
    EXPECT_EQ(m_envr.GetInt("Settings", "ShowMouse", 1), 1);
    EXPECT_EQ(m_envr.GetString("KIOSK", "KioskName", "n"), "n");
    EXPECT_FALSE(m_envr.WriteInt("Settings", "ShowMouse", 0));
    EXPECT_FALSE(m_envr.WriteString("Settings", "QuitServer", "1"));
    EXPECT_FALSE(m_envr.WriteString("Settings", nullptr, nullptr));
}

// Threads use their own connections on a store that none of them created
// first; busy waits must stay inside the store.
TEST_F(EnvrTest, ConcurrentThreadsNeverFail) {
    constexpr int kThreads = 8;
    constexpr int kRounds = 40;
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            CEnvr envr;
            std::string own = "Own" + std::to_string(t);
            for (int i = 0; i < kRounds; ++i) {
                failures[t] += !envr.WriteInt("Settings", own.c_str(), i);
                failures[t] += envr.GetInt("Settings", own.c_str(), -1) != i;
                failures[t] += !envr.WriteInt("Settings", "Shared", t);
                failures[t] += envr.GetInt("Settings", "Shared", -1) == -1;
                failures[t] += !envr.WriteString("Strings", own.c_str(), "text");
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(failures[t], 0) << "thread " << t;
    }
}

// A reader that finds a value missing must not overwrite the value another
// writer stores meanwhile with its default.
TEST_F(EnvrTest, DefaultNeverOverwritesAConcurrentWrite) {
    constexpr int kNames = 150;
    std::barrier together(2);  // both threads start on each name at once
    auto forEachName = [&together](auto access) {
        CEnvr envr;
        for (int i = 0; i < kNames; ++i) {
            together.arrive_and_wait();
            access(envr, ("n" + std::to_string(i)).c_str());
        }
    };
    std::thread writer(forEachName,
                       [](CEnvr& envr, const char* name) { envr.WriteInt("Race", name, 7); });
    std::thread reader(forEachName,
                       [](CEnvr& envr, const char* name) { envr.GetInt("Race", name, -1); });
    writer.join();
    reader.join();
    for (int i = 0; i < kNames; ++i) {
        ASSERT_EQ(m_envr.GetInt("Race", ("n" + std::to_string(i)).c_str(), -2), 7) << i;
    }
}

}  // namespace

}  // namespace hx
