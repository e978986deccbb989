#include "tools/vcatsim/command_line.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(VCatSimCommandLineTest, ReadsAddressPortAndJournalAndRefusesTheRest) {
    stVCatSimOptions options;
    std::string error;
    ASSERT_TRUE(ParseVCatSimCommandLine(
        {"--address", "127.9.8.7", "--port", "0", "--journal", "j.jsonl"}, options, error));
    EXPECT_EQ(options.address, "127.9.8.7");
    EXPECT_EQ(options.port, 0);
    EXPECT_EQ(options.journal, "j.jsonl");

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--port", "65536"},
                                               {"--port", "-1"},
                                               {"--address", ""},
                                               {"--link", "x"},
                                               {"--port"}}) {
        stVCatSimOptions refused;
        EXPECT_FALSE(ParseVCatSimCommandLine(bad, refused, error)) << bad[0];
        EXPECT_EQ(refused.port, 13855);
    }
}

}  // namespace

}  // namespace hx
