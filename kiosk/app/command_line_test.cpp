#include "kiosk/app/command_line.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(KioskCommandLine, AcceptsDriveAndPortAndRejectsEverythingElse) {
    std::string error;
    auto none = ParseCommandLine({}, &error);
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->drive);
    EXPECT_EQ(none->uiPort, 8049);

    auto both = ParseCommandLine({"--drive", "/tmp/d", "--ui-port", "9001"}, &error);
    ASSERT_TRUE(both);
    EXPECT_EQ(*both->drive, "/tmp/d");
    EXPECT_EQ(both->uiPort, 9001);

    EXPECT_FALSE(ParseCommandLine({"--drive"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--ui-port", "-1"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--ui-port", "80x"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--ui-port", "70000"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--verbose"}, &error));
    EXPECT_NE(error.find("--verbose"), std::string::npos);
}

}  // namespace

}  // namespace hx
