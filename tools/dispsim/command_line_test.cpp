#include "tools/dispsim/command_line.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(DispSimCommandLineTest, ReadsItsOptionsAndRefusesOthers) {
    stDispSimOptions options;
    std::string error;
    ASSERT_TRUE(ParseDispSimCommandLine(
        {"--link", "/tmp/x/com4", "--journal", "/tmp/x/j.jsonl", "--cards", "0"}, options, error))
        << error;
    EXPECT_EQ(options.link, "/tmp/x/com4");
    EXPECT_EQ(options.journal, "/tmp/x/j.jsonl");
    EXPECT_EQ(options.cards, 0);
    EXPECT_EQ(stDispSimOptions{}.cards, 100);

    const std::vector<std::vector<std::string>> refused = {
        {"--cards", "-1"}, {"--cards", "lots"}, {"--cards"}, {"--gap", "5"}, {"stray"},
    };
    for (const auto& args : refused) {
        stDispSimOptions untouched;
        EXPECT_FALSE(ParseDispSimCommandLine(args, untouched, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace

}  // namespace hx
