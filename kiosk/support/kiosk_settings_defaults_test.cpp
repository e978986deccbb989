#include "kiosk/support/kiosk_settings_defaults.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/envr.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

class KioskSettingsDefaults : public ::testing::Test {
protected:
    void SetUp() override { CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication); }
    void TearDown() override { CEnvr::SetFrameworkKey("", ""); }

    CTempDrive m_drive;
};

// Operators, scripts and the demo name these keys, so they must not move.
TEST_F(KioskSettingsDefaults, ValuesLiveUnderTheKiosksOwnKey) {
    const std::string settings = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane\\HxKiosk\\Settings";
    EXPECT_EQ(CEnvr().SectionKeyPath("Settings"), settings);
    EXPECT_EQ(CEnvr(kRegistryApplication).SectionKeyPath("Settings"), settings);
}

// A second read with another default gets the first one back only when the
// first read stored it with its own type.
TEST_F(KioskSettingsDefaults, EveryFixedDefaultIsStoredWithItsTypeByTheFirstRead) {
    const CEnvr envr;
    std::set<std::string> seen;
    for (const stKioskSettingDefault& entry : KioskSettingDefaults()) {
        EXPECT_TRUE(seen.insert(std::string(entry.section) + "\\" + entry.name).second)
            << entry.name << " listed twice";
        if (entry.type == enumRegType::Dword) {
            EXPECT_EQ(envr.GetInt(entry.section, entry.name, entry.number), entry.number);
            EXPECT_EQ(envr.GetInt(entry.section, entry.name, entry.number + 1), entry.number)
                << entry.name;
        } else {
            const std::string other = std::string(entry.text) + "?";
            EXPECT_EQ(envr.GetString(entry.section, entry.name, entry.text), entry.text);
            EXPECT_EQ(envr.GetString(entry.section, entry.name, other.c_str()), entry.text)
                << entry.name;
        }
    }
    EXPECT_EQ(envr.GetInt("Settings", "ConfigPW", 0), kDefaultConfigPw);
    EXPECT_EQ(envr.GetInt("RFCard", "StartYear", 0), kDefaultRfStartYear);
    EXPECT_EQ(envr.GetString("Computer", "KeyMAC", "?"), kDefaultKeyMac);
}

}  // namespace

}  // namespace hx
