#include "tools/hxreg/reg_command.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

stRegCommand Parsed(const std::vector<std::string>& args) {
    stRegCommand command;
    std::string error;
    EXPECT_TRUE(ParseRegCommand(args, command, error)) << error;
    return command;
}

std::string ErrorOf(const std::vector<std::string>& args) {
    stRegCommand command;
    std::string error;
    EXPECT_FALSE(ParseRegCommand(args, command, error));
    return error;
}

TEST(RegCommand, KeysAcceptShortAndLongRootsInAnyCase) {
    const std::string settings = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane\\HxKiosk\\Settings";
    EXPECT_EQ(Parsed({"query", "HKLM\\SOFTWARE\\Norvane\\HxKiosk\\Settings"}).keyPath, settings);
    EXPECT_EQ(
        Parsed({"QUERY", "hkey_local_machine\\SOFTWARE\\Norvane\\HxKiosk\\Settings\\"}).keyPath,
        settings);
    EXPECT_EQ(Parsed({"query", "hkcu\\x"}).keyPath, "HKEY_CURRENT_USER\\x");
    EXPECT_EQ(Parsed({"query", "HKLM"}).keyPath, "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(ErrorOf({"query", "HKXX\\SOFTWARE"}), "ERROR: Invalid key name HKXX\\SOFTWARE.");
    EXPECT_EQ(ErrorOf({"query", "HKLM\\a\\\\b"}), "ERROR: Invalid key name HKLM\\a\\\\b.");
}

TEST(RegCommand, DriveMayStandAnywhere) {
    EXPECT_EQ(Parsed({"--drive", "/tmp/d", "query", "HKLM"}).drive, "/tmp/d");
    EXPECT_EQ(Parsed({"query", "HKLM", "--drive=/tmp/e"}).drive, "/tmp/e");
    EXPECT_FALSE(Parsed({"query", "HKLM"}).drive);
    EXPECT_EQ(ErrorOf({"query", "HKLM", "--drive"}), "ERROR: --drive needs a folder.");
}

TEST(RegCommand, AddBuildsTheTypedValue) {
    stRegCommand add =
        Parsed({"add", "HKLM\\S", "/v", "ShowMouse", "/t", "reg_dword", "/d", "0x1F", "/F"});
    EXPECT_EQ(add.verb, enumRegVerb::Add);
    EXPECT_EQ(add.valueName, "ShowMouse");
    EXPECT_EQ(add.value, MakeDwordValue(31));
    EXPECT_TRUE(add.force);
    EXPECT_EQ(Parsed({"add", "HKLM\\S", "-v", "n", "-t", "REG_DWORD", "-d", "4294967295"}).value,
              MakeDwordValue(0xFFFFFFFFu));
    EXPECT_EQ(Parsed({"add", "HKLM\\S", "/v", "n", "/t", "REG_DWORD"}).value, MakeDwordValue(0));
    EXPECT_EQ(Parsed({"add", "HKLM\\S", "/v", "n", "/d", "대실"}).value, MakeStringValue("대실"));
    EXPECT_EQ(Parsed({"add", "HKLM\\S", "/v", "n", "/t", "REG_EXPAND_SZ", "/d", "%X%"}).value,
              MakeStringValue("%X%", enumRegType::ExpandSz));
    EXPECT_FALSE(Parsed({"add", "HKLM\\S"}).valueName);  // key only

    for (const char* bad : {"4294967296", "-1", "12a", "0x", "0x1g", ""}) {
        EXPECT_NE(ErrorOf({"add", "HKLM\\S", "/v", "n", "/t", "REG_DWORD", "/d", bad})
                      .find("Invalid DWORD"),
                  std::string::npos)
            << bad;
    }
    EXPECT_NE(ErrorOf({"add", "HKLM\\S", "/v", "n", "/t", "REG_QWORD"}).find("Unsupported type"),
              std::string::npos);
}

TEST(RegCommand, SwitchesMustFitTheVerb) {
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {},
             {"copy", "HKLM\\S"},
             {"query"},
             {"query", "HKLM\\S", "/d", "x"},
             {"query", "HKLM\\S", "/f"},
             {"add", "HKLM\\S", "/d", "x"},  // data needs a value name
             {"add", "HKLM\\S", "/v", "a", "/v", "b"},
             {"add", "HKLM\\S", "/v"},
             {"add", "HKLM\\S", "/f", "/f"},
             {"delete", "HKLM\\S", "/t", "REG_SZ"},
             {"delete", "HKLM\\S", "extra"},
         }) {
        EXPECT_EQ(ErrorOf(bad), "ERROR: Invalid syntax.") << ::testing::PrintToString(bad);
    }
    EXPECT_EQ(Parsed({"/?"}).verb, enumRegVerb::Help);
    EXPECT_EQ(Parsed({"--drive", "/x", "--help"}).verb, enumRegVerb::Help);
}

}  // namespace

}  // namespace hx
