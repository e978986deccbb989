#include "platform/registry.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_drive.h"

namespace hx {

namespace {

constexpr const char* kVcat = "SOFTWARE\\VCAT";
const std::string kVcatPath = "HKEY_LOCAL_MACHINE\\SOFTWARE\\VCAT";

class RegistryTest : public ::testing::Test {
protected:
    void Store(const std::string& keyPath, const char* name, const stRegValue& value) {
        CRegistryDb db;
        ASSERT_TRUE(db.Open());
        ASSERT_EQ(db.CreateKey(keyPath), enumRegStatus::Ok);
        ASSERT_EQ(db.SetValue(keyPath, name, value), enumRegStatus::Ok);
    }
    std::optional<stRegValue> Stored(const std::string& keyPath, const char* name) {
        CRegistryDb db;
        stRegValue value;
        if (!db.Open() || db.QueryValue(keyPath, name, value) != enumRegStatus::Ok) {
            return std::nullopt;
        }
        return value;
    }

    CTempDrive m_drive;
};

TEST_F(RegistryTest, OpenFindsOnlyExistingKeysAndRemembersTheSubKey) {
    CRegistry key;
    EXPECT_FALSE(key.Open(enumRegRoot::LocalMachine, kVcat, enumRegAccess::Read));
    EXPECT_FALSE(key.Open(enumRegRoot::LocalMachine, kVcat, enumRegAccess::AllAccess));
    EXPECT_FALSE(key.IsOpen());

    ASSERT_TRUE(key.Create(enumRegRoot::LocalMachine, kVcat));
    EXPECT_TRUE(key.WriteString("PATH", "C:\\VCAT"));
    CRegistry other;
    ASSERT_TRUE(other.Open(enumRegRoot::LocalMachine, "software\\vcat", enumRegAccess::Read));
    EXPECT_EQ(other.GetSubKey(), "software\\vcat");
    std::string path;
    ASSERT_TRUE(other.ReadString("path", path));
    EXPECT_EQ(path, "C:\\VCAT");
    EXPECT_FALSE(other.WriteString("PATH", "x"));  // opened for reading only

    EXPECT_FALSE(key.Open(enumRegRoot::CurrentUser, kVcat, enumRegAccess::Read));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.WriteString("PATH", "x"));
}

TEST_F(RegistryTest, ReadStringTakesTheStringTypesOnly) {
    Store(kVcatPath, "Sz", MakeStringValue("a"));
    Store(kVcatPath, "Expand", MakeStringValue("b", enumRegType::ExpandSz));
    Store(kVcatPath, "Multi", MakeStringValue("c", enumRegType::MultiSz));
    Store(kVcatPath, "Number", MakeDwordValue(1));
    Store(kVcatPath, "Bytes", stRegValue{enumRegType::Binary, {'d', 0}});
    CRegistry key;
    ASSERT_TRUE(key.Open(enumRegRoot::LocalMachine, kVcat, enumRegAccess::Read));
    std::string text = "unchanged";
    for (const char* name : {"Number", "Bytes", "Missing"}) {
        EXPECT_FALSE(key.ReadString(name, text)) << name;
    }
    EXPECT_EQ(text, "unchanged");
    std::string all;
    for (const char* name : {"Sz", "Expand", "Multi"}) {
        ASSERT_TRUE(key.ReadString(name, text)) << name;
        all += text;
    }
    EXPECT_EQ(all, "abc");
}

TEST_F(RegistryTest, AnOpenKeyDeletedBySomeoneElseFails) {
    CRegistry key;
    ASSERT_TRUE(key.Create(enumRegRoot::LocalMachine, kVcat));
    CRegistryDb db;
    ASSERT_TRUE(db.Open());
    ASSERT_EQ(db.DeleteKey(kVcatPath), enumRegStatus::Ok);
    EXPECT_FALSE(key.WriteString("PATH", "x"));
    EXPECT_EQ(db.FindKey(kVcatPath), enumRegStatus::NotFound);  // not brought back
}

TEST_F(RegistryTest, ReadWithDefaultCreatesTheKeyAndStoresTheDefault) {
    std::string out;
    EXPECT_TRUE(
        CRegistry::ReadStringWithDefault(enumRegRoot::LocalMachine, kVcat, "PATH", "", out));
    EXPECT_EQ(out, "");
    EXPECT_EQ(Stored(kVcatPath, "PATH"), MakeStringValue(""));

    // Key present, value missing: stored with the default.
    EXPECT_TRUE(
        CRegistry::ReadStringWithDefault(enumRegRoot::LocalMachine, kVcat, "Port", "USB001", out));
    EXPECT_EQ(out, "USB001");
    EXPECT_TRUE(
        CRegistry::ReadStringWithDefault(enumRegRoot::LocalMachine, kVcat, "Port", "LPT1", out));
    EXPECT_EQ(out, "USB001");

    // A number where a string belongs counts as missing.
    Store(kVcatPath, "Kind", MakeDwordValue(2));
    EXPECT_TRUE(
        CRegistry::ReadStringWithDefault(enumRegRoot::LocalMachine, kVcat, "Kind", "k", out));
    EXPECT_EQ(out, "k");
    EXPECT_EQ(Stored(kVcatPath, "Kind"), MakeStringValue("k"));
}

TEST_F(RegistryTest, ReadWithDefaultOnABrokenStoreGivesTheDefault) {
    std::filesystem::create_directories(GetWindowsFolder());
    std::ofstream(CRegistryDb::DefaultFile()) << std::string(4096, '\x11');
    std::string out = "stale";
    EXPECT_FALSE(
        CRegistry::ReadStringWithDefault(enumRegRoot::LocalMachine, kVcat, "PATH", "d", out));
    EXPECT_EQ(out, "d");
}

TEST_F(RegistryTest, ReadWithDefaultOnAReadOnlyStoreReadsButNeverWrites) {
    Store(kVcatPath, "PATH", MakeStringValue("C:\\VCAT"));
    std::filesystem::permissions(
        CRegistryDb::DefaultFile(),
        std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    if (std::ofstream(CRegistryDb::DefaultFile(), std::ios::app)) {
        GTEST_SKIP() << "file permissions do not bind this user (root)";
    }
    std::string out;
    EXPECT_TRUE(
        CRegistry::ReadStringWithDefault(enumRegRoot::LocalMachine, kVcat, "PATH", "", out));
    EXPECT_EQ(out, "C:\\VCAT");
    EXPECT_FALSE(
        CRegistry::ReadStringWithDefault(enumRegRoot::LocalMachine, kVcat, "Port", "p", out));
    EXPECT_EQ(out, "p");
    EXPECT_FALSE(Stored(kVcatPath, "Port"));
}

}  // namespace

}  // namespace hx
