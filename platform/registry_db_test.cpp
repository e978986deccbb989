#include "platform/registry_db.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_drive.h"

namespace hx {

namespace {

const std::string kApp = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane\\HxKiosk";

class RegistryDbTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_db.Open()) << m_db.LastError(); }

    stRegKeyListing List(const std::string& keyPath) {
        stRegKeyListing listing;
        EXPECT_EQ(m_db.ListKey(keyPath, listing), enumRegStatus::Ok) << keyPath;
        return listing;
    }

    CTempDrive m_drive;
    CRegistryDb m_db;
};

TEST(RegistryKeyPath, RootIsSpelledInFullAndEmptyPartsAreRejected) {
    EXPECT_EQ(CanonicalKeyPath("hkey_local_machine\\Software"), "HKEY_LOCAL_MACHINE\\Software");
    EXPECT_EQ(CanonicalKeyPath("HKEY_CURRENT_USER"), "HKEY_CURRENT_USER");
    EXPECT_EQ(RegKeyPath(enumRegRoot::LocalMachine, "SOFTWARE\\VCAT"),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\VCAT");
    for (const char* bad : {"", "HKLM\\SOFTWARE", "SOFTWARE\\x", "HKEY_LOCAL_MACHINE\\",
                            "HKEY_LOCAL_MACHINE\\\\a", "HKEY_LOCAL_MACHINE\\a\\", "\\a"}) {
        EXPECT_FALSE(CanonicalKeyPath(bad)) << bad;
    }
}

TEST_F(RegistryDbTest, KeysAreCaseInsensitiveAndKeepTheCaseFirstWritten) {
    ASSERT_EQ(m_db.CreateKey(kApp + "\\Settings"), enumRegStatus::Ok);
    EXPECT_EQ(m_db.FindKey(kApp), enumRegStatus::Ok);  // parents exist too
    ASSERT_EQ(m_db.CreateKey("hkey_local_machine\\software\\NORVANE\\hxkiosk\\KIOSK"),
              enumRegStatus::Ok);

    std::string stored;
    ASSERT_EQ(m_db.FindKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\NORVANE\\HXKIOSK\\kiosk", &stored),
              enumRegStatus::Ok);
    EXPECT_EQ(stored, kApp + "\\KIOSK");
    EXPECT_EQ(List(kApp).subKeyNames, (std::vector<std::string>{"KIOSK", "Settings"}));
    EXPECT_EQ(m_db.FindKey(kApp + "\\Missing"), enumRegStatus::NotFound);
}

TEST_F(RegistryDbTest, ValuesRoundTripAndNamesAreCaseInsensitive) {
    ASSERT_EQ(m_db.CreateKey(kApp), enumRegStatus::Ok);
    const stRegValue empty{enumRegType::Binary, {}};
    ASSERT_EQ(m_db.SetValue(kApp, "ShowMouse", MakeDwordValue(1)), enumRegStatus::Ok);
    ASSERT_EQ(m_db.SetValue(kApp, "Blank", empty), enumRegStatus::Ok);
    ASSERT_EQ(m_db.SetValue(kApp, "SHOWMOUSE", MakeDwordValue(0)), enumRegStatus::Ok);

    stRegValue value;
    ASSERT_EQ(m_db.QueryValue(kApp, "showmouse", value), enumRegStatus::Ok);
    EXPECT_EQ(value, MakeDwordValue(0));
    ASSERT_EQ(m_db.QueryValue(kApp, "Blank", value), enumRegStatus::Ok);
    EXPECT_EQ(value, empty);

    auto values = List(kApp).values;  // one value, first name kept, in writing order
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name, "ShowMouse");
    EXPECT_EQ(values[1].name, "Blank");

    EXPECT_EQ(m_db.DeleteValue(kApp, "SHOWMOUSE"), enumRegStatus::Ok);
    EXPECT_EQ(m_db.DeleteValue(kApp, "ShowMouse"), enumRegStatus::NotFound);
    EXPECT_EQ(m_db.QueryValue(kApp, "ShowMouse", value), enumRegStatus::NotFound);
}

TEST_F(RegistryDbTest, ValuesNeedAnExistingKeyThatIsNotARoot) {
    EXPECT_EQ(m_db.SetValue(kApp + "\\Nowhere", "x", MakeDwordValue(1)), enumRegStatus::NotFound);
    EXPECT_EQ(m_db.FindKey(kApp + "\\Nowhere"), enumRegStatus::NotFound);
    EXPECT_EQ(m_db.SetValue("HKEY_LOCAL_MACHINE", "x", MakeDwordValue(1)), enumRegStatus::Failed);
    EXPECT_EQ(m_db.SetValue("HKLM\\SOFTWARE", "x", MakeDwordValue(1)), enumRegStatus::Failed);
}

TEST_F(RegistryDbTest, DeleteKeyRemovesItsSubTreeOnly) {
    for (const char* key :
         {"\\Settings\\Sub\\Deeper", "\\Settings2", "\\Settingsa", "\\SettingsZ"}) {
        ASSERT_EQ(m_db.CreateKey(kApp + key), enumRegStatus::Ok);
        ASSERT_EQ(m_db.SetValue(kApp + key, "v", MakeDwordValue(7)), enumRegStatus::Ok);
    }
    ASSERT_EQ(m_db.SetValue(kApp + "\\Settings", "v", MakeDwordValue(7)), enumRegStatus::Ok);

    ASSERT_EQ(m_db.DeleteKey(kApp + "\\SETTINGS"), enumRegStatus::Ok);

    EXPECT_EQ(m_db.FindKey(kApp + "\\Settings"), enumRegStatus::NotFound);
    stRegValue value;
    EXPECT_EQ(m_db.QueryValue(kApp + "\\Settings\\Sub\\Deeper", "v", value),
              enumRegStatus::NotFound);
    EXPECT_EQ(List(kApp).subKeyNames,
              (std::vector<std::string>{"Settings2", "Settingsa", "SettingsZ"}));
    for (const char* sibling : {"\\Settings2", "\\Settingsa", "\\SettingsZ"}) {
        EXPECT_EQ(m_db.QueryValue(kApp + sibling, "v", value), enumRegStatus::Ok) << sibling;
    }
    EXPECT_EQ(m_db.DeleteKey(kApp + "\\Settings"), enumRegStatus::NotFound);
    EXPECT_EQ(m_db.DeleteKey("HKEY_LOCAL_MACHINE"), enumRegStatus::Failed);
}

TEST_F(RegistryDbTest, ListingShowsDirectSubKeysOnly) {
    ASSERT_EQ(m_db.CreateKey(kApp + "\\A\\Inner"), enumRegStatus::Ok);
    ASSERT_EQ(m_db.CreateKey(kApp + "\\B"), enumRegStatus::Ok);
    EXPECT_EQ(List(kApp).subKeyNames, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(List("HKEY_LOCAL_MACHINE").subKeyNames, (std::vector<std::string>{"SOFTWARE"}));
    stRegKeyListing listing;
    EXPECT_EQ(m_db.ListKey(kApp + "\\C", listing), enumRegStatus::NotFound);
}

TEST_F(RegistryDbTest, ReadOrStoreDefaultKeepsUsableValuesAndReplacesOthers) {
    auto isNumber = [](const stRegValue& v) { return DwordFromValue(v).has_value(); };
    stRegValue out;
    // Missing key and value: both are created.
    EXPECT_EQ(m_db.ReadOrStoreDefault(kApp + "\\S", "n", isNumber, MakeDwordValue(3), out),
              enumRegStatus::Ok);
    EXPECT_EQ(out, MakeDwordValue(3));
    EXPECT_EQ(m_db.ReadOrStoreDefault(kApp + "\\S", "n", isNumber, MakeDwordValue(4), out),
              enumRegStatus::Ok);
    EXPECT_EQ(out, MakeDwordValue(3));

    ASSERT_EQ(m_db.SetValue(kApp + "\\S", "n", MakeStringValue("5")), enumRegStatus::Ok);
    EXPECT_EQ(m_db.ReadOrStoreDefault(kApp + "\\S", "n", isNumber, MakeDwordValue(4), out),
              enumRegStatus::Ok);
    EXPECT_EQ(out, MakeDwordValue(4));
    stRegValue stored;
    ASSERT_EQ(m_db.QueryValue(kApp + "\\S", "n", stored), enumRegStatus::Ok);
    EXPECT_EQ(stored, MakeDwordValue(4));
}

TEST_F(RegistryDbTest, AWriteIsSeenByEveryLaterConnection) {
    ASSERT_EQ(m_db.CreateKey(kApp), enumRegStatus::Ok);
    CRegistryDb reader;
    ASSERT_TRUE(reader.Open(CRegistryDb::enumOpenMode::ReadOnly)) << reader.LastError();
    stRegValue value;
    EXPECT_EQ(reader.QueryValue(kApp, "x", value), enumRegStatus::NotFound);
    ASSERT_EQ(m_db.SetValue(kApp, "x", MakeStringValue("new")), enumRegStatus::Ok);
    ASSERT_EQ(reader.QueryValue(kApp, "x", value), enumRegStatus::Ok);  // same open connection
    EXPECT_EQ(StringFromValue(value), "new");
    EXPECT_FALSE(reader.IsWritable());
    EXPECT_EQ(reader.SetValue(kApp, "x", MakeStringValue("no")), enumRegStatus::Failed);
}

TEST(RegistryDbFailure, UnusableStoreIsReportedNotThrown) {
    CTempDrive drive;
    CRegistryDb db;
    EXPECT_EQ(db.CreateKey(kApp), enumRegStatus::Failed);        // never opened
    EXPECT_FALSE(db.Open(CRegistryDb::enumOpenMode::ReadOnly));  // missing file is not created
    EXPECT_FALSE(std::filesystem::exists(CRegistryDb::DefaultFile()));

    std::filesystem::create_directories(GetWindowsFolder());
    std::ofstream(CRegistryDb::DefaultFile()) << std::string(4096, 'x');
    EXPECT_FALSE(db.Open());
    EXPECT_NE(db.LastError().find("registry.db"), std::string::npos) << db.LastError();
    EXPECT_EQ(db.FindKey(kApp), enumRegStatus::Failed);

    std::filesystem::remove_all(GetWindowsFolder());
    std::ofstream(GetWindowsFolder()) << "a file where the folder should be";
    EXPECT_FALSE(db.Open());
}

}  // namespace

}  // namespace hx
