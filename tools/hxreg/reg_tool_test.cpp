#include "tools/hxreg/reg_tool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/envr.h"
#include "platform/registry_db.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

const std::string kSettings = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane\\HxKiosk\\Settings";

struct stRun {
    int status;
    std::string out;
    std::string err;
};

class RegToolTest : public ::testing::Test {
protected:
    void SetUp() override { CEnvr::SetFrameworkKey("Norvane", "HxKiosk"); }

    stRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--drive", m_drive.Folder().string()});
        std::ostringstream out;
        std::ostringstream err;
        int status = HxRegMain(args, out, err);
        return {status, out.str(), err.str()};
    }

    CTempDrive m_drive;
};

const std::string kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.\n";

TEST_F(RegToolTest, QueryListsValuesThenSubKeys) {
    CEnvr envr;
    envr.WriteInt("Settings", "ShowMouse", 1);
    envr.WriteInt("Settings", "ConfigPW", 4179);
    envr.WriteString("Settings", "QuitServer", "0");
    envr.WriteInt("Settings\\Sub", "x", 0);
    CRegistryDb db;
    ASSERT_TRUE(db.Open());
    ASSERT_EQ(db.SetValue(kSettings, "Raw", stRegValue{enumRegType::Binary, {0xAB, 0x01}}),
              enumRegStatus::Ok);
    ASSERT_EQ(db.SetValue(kSettings, "", MakeStringValue("d")), enumRegStatus::Ok);

    stRun run = Run({"query", "hklm\\software\\norvane\\hxkiosk\\settings"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "\n" + kSettings +
                           "\n"
                           "    ShowMouse    REG_DWORD    0x1\n"
                           "    ConfigPW    REG_DWORD    0x1053\n"
                           "    QuitServer    REG_SZ    0\n"
                           "    Raw    REG_BINARY    AB01\n"
                           "    (Default)    REG_SZ    d\n"
                           "\n" +
                           kSettings + "\\Sub\n");

    run = Run({"query", "HKLM\\SOFTWARE\\Norvane\\HxKiosk\\Settings", "/v", "configpw"});
    EXPECT_EQ(run.out, "\n" + kSettings + "\n    ConfigPW    REG_DWORD    0x1053\n\n");
}

TEST_F(RegToolTest, MissingKeysAndValuesFailWithTheNotFoundMessage) {
    stRun run = Run({"query", "HKLM\\SOFTWARE\\Norvane"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, kNotFound);
    EXPECT_FALSE(std::filesystem::exists(CRegistryDb::DefaultFile()));  // a query creates nothing

    CEnvr().WriteInt("Settings", "ShowMouse", 1);
    EXPECT_EQ(Run({"query", "HKLM\\SOFTWARE\\Norvane\\HxKiosk\\Nope"}).err, kNotFound);
    EXPECT_EQ(Run({"query", "HKLM\\SOFTWARE\\Norvane\\HxKiosk\\Settings", "/v", "Nope"}).err,
              kNotFound);
    EXPECT_EQ(
        Run({"delete", "HKLM\\SOFTWARE\\Norvane\\HxKiosk\\Settings", "/v", "Nope", "/f"}).status,
        1);
    run = Run({"query"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("ERROR: Invalid syntax.\n\nUsage:")) << run.err;
}

TEST_F(RegToolTest, ChangesToExistingDataNeedForce) {
    const std::string key = "HKLM\\SOFTWARE\\Norvane\\HxKiosk\\Settings";
    stRun run = Run({"add", key, "/v", "PCBLog", "/t", "REG_DWORD", "/d", "1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "The operation completed successfully.\n");

    run = Run({"add", key, "/v", "pcblog", "/t", "REG_DWORD", "/d", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Value pcblog exists, overwrite (Yes/No)? No\n");
    EXPECT_EQ(CEnvr().GetInt("Settings", "PCBLog", 5), 1);
    EXPECT_EQ(Run({"add", key, "/v", "pcblog", "/t", "REG_DWORD", "/d", "0", "/f"}).status, 0);
    EXPECT_EQ(CEnvr().GetInt("Settings", "PCBLog", 5), 0);

    run = Run({"delete", key, "/v", "PCBLog"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Delete the registry value PCBLog (Yes/No)? No\n");
    run = Run({"delete", key});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(CEnvr().GetInt("Settings", "PCBLog", 5), 0);

    EXPECT_EQ(Run({"delete", key, "/v", "PCBLog", "/f"}).status, 0);
    EXPECT_EQ(CEnvr().GetInt("Settings", "PCBLog", 5), 5);
    EXPECT_EQ(Run({"delete", key, "/f"}).status, 0);
    EXPECT_EQ(Run({"query", key}).err, kNotFound);
    EXPECT_EQ(Run({"query", "HKLM\\SOFTWARE\\Norvane\\HxKiosk"}).status, 0);
}

TEST_F(RegToolTest, AddWithoutValueCreatesTheKey) {
    EXPECT_EQ(Run({"add", "HKCU\\Software\\Test"}).status, 0);
    stRun run = Run({"query", "HKEY_CURRENT_USER\\SOFTWARE"});
    EXPECT_EQ(run.out, "\nHKEY_CURRENT_USER\\Software\n\nHKEY_CURRENT_USER\\Software\\Test\n");
}

}  // namespace

}  // namespace hx
