#include "tools/frontdesk/command_line.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(CommandLine, DefaultsAndEveryOption) {
    stFrontDeskOptions options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--scenario", "s.json"}, options, error)) << error;
    EXPECT_EQ(options.listen.address, "127.0.0.1");
    EXPECT_EQ(options.listen.port, 12001);
    EXPECT_EQ(options.journal, std::filesystem::path("frontdesk-data") / "journal.jsonl");
    EXPECT_FALSE(options.discovery);
    EXPECT_EQ(options.limits.maxConnections, 64);
    EXPECT_EQ(options.limits.idleTimeout, std::chrono::minutes(15));

    stFrontDeskOptions all;
    ASSERT_TRUE(
        ParseCommandLine({"--listen", "127.0.23.1:12001", "--scenario", "s.json", "--data", "d",
                          "--journal", "j.jsonl", "--discovery", "127.0.23.1", "--control",
                          "127.0.0.1:12101", "--max-connections", "3", "--idle-timeout", "30"},
                         all, error))
        << error;
    EXPECT_EQ(all.listen.address, "127.0.23.1");
    EXPECT_EQ(all.journal, "j.jsonl");
    EXPECT_EQ(all.discovery->port, 5001);
    EXPECT_EQ(all.control->port, 12101);
    EXPECT_EQ(all.limits.maxConnections, 3);
    EXPECT_EQ(all.limits.idleTimeout, std::chrono::seconds(30));
}

TEST(CommandLine, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> kBad = {
        {},
        {"--scenario"},
        {"--scenario", "s", "--listen", "localhost:12001"},
        {"--scenario", "s", "--listen", "127.0.0.1"},
        {"--scenario", "s", "--listen", "127.0.0.1:70000"},
        {"--scenario", "s", "--listen", "127.0.0.256:1"},
        {"--scenario", "s", "--control", "0.0.0.0:9000"},
        {"--scenario", "s", "--colour", "blue"},
        {"--scenario", "s", "--max-connections", "0"},
        {"--scenario", "s", "--max-connections", "many"},
        {"--scenario", "s", "--idle-timeout", "-5"},
        {"--scenario", "s", "--idle-timeout", "2147483648"},
    };
    for (const auto& args : kBad) {
        stFrontDeskOptions options;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(args, options, error)) << testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
    stFrontDeskOptions options;
    std::string error;
    EXPECT_TRUE(ParseCommandLine({"--help"}, options, error));
    EXPECT_TRUE(options.help);
}

}  // namespace

}  // namespace hx
