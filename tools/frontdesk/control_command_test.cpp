#include "tools/frontdesk/control_command.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(ControlCommand, SplitsVerbWordsSettingsAndTarget) {
    stControlCommand command;
    std::string error;
    ASSERT_TRUE(ParseControlLine(R"(room 305 state=1 name="스위트 305" alt to=2)", command, error))
        << error;
    EXPECT_EQ(command.verb, "room");
    EXPECT_EQ(command.words, (std::vector<std::string>{"305", "alt"}));
    ASSERT_EQ(command.settings.size(), 2u);
    EXPECT_EQ(command.settings[1].first, "name");
    EXPECT_EQ(command.settings[1].second, "스위트 305");
    EXPECT_EQ(command.target, 2u);
}

TEST(ControlCommand, QuotedWordsKeepSpacesAndEquals) {
    stControlCommand command;
    std::string error;
    ASSERT_TRUE(ParseControlLine("message \"안내\" \"a=b  c\" to=all", command, error));
    EXPECT_EQ(command.words, (std::vector<std::string>{"안내", "a=b  c"}));
    EXPECT_FALSE(command.target.has_value());
    ASSERT_TRUE(ParseControlLine("message \"\" x", command, error));
    EXPECT_EQ(command.words, (std::vector<std::string>{"", "x"})) << "an empty quoted word counts";
}

TEST(ControlCommand, RefusesBrokenLines) {
    stControlCommand command;
    std::string error;
    EXPECT_FALSE(ParseControlLine("message \"open", command, error));
    EXPECT_FALSE(ParseControlLine("rooms to=0", command, error));
    EXPECT_FALSE(ParseControlLine("rooms to=first", command, error));
    ASSERT_TRUE(ParseControlLine("   ", command, error));
    EXPECT_TRUE(command.verb.empty());
}

}  // namespace

}  // namespace hx
