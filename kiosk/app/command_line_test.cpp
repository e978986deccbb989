#include "kiosk/app/command_line.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(KioskCommandLine, AcceptsDrivePortAndWebRootAndRejectsEverythingElse) {
    std::string error;
    auto none = ParseCommandLine({}, &error);
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->drive);
    EXPECT_EQ(none->uiPort, 8049);
    EXPECT_EQ(none->cardTerminalPort, 13855);
    EXPECT_FALSE(none->webRoot);

    auto all = ParseCommandLine({"--web-root", "/srv/web", "--drive", "/tmp/d", "--ui-port", "9001",
                                 "--card-terminal-port", "23855"},
                                &error);
    ASSERT_TRUE(all);
    EXPECT_EQ(*all->drive, "/tmp/d");
    EXPECT_EQ(all->uiPort, 9001);
    EXPECT_EQ(*all->webRoot, "/srv/web");
    EXPECT_EQ(all->cardTerminalPort, 23855);

    EXPECT_FALSE(ParseCommandLine({"--drive"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--drive", "/tmp/d", "--web-root"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--ui-port", "-1"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--ui-port", "80x"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--ui-port", "70000"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--card-terminal-port", "0"}, &error));
    EXPECT_FALSE(ParseCommandLine({"--verbose"}, &error));
    EXPECT_NE(error.find("--verbose"), std::string::npos);
}

}  // namespace

}  // namespace hx
