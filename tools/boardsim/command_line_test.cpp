#include "tools/boardsim/command_line.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(BoardSimCommandLineTest, ReadsTheUnitsStockAndRefusesWhatNoDispenserHolds) {
    stBoardSimOptions options;
    std::string error;
    ASSERT_TRUE(ParseBoardSimCommandLine(
        {"--link", "/tmp/x/com4", "--dispenser1", "10000:40", "--dispenser2", "1000:7", "--hopper",
         "12", "--low", "5", "--gap", "0"},
        options, error))
        << error;
    EXPECT_EQ(options.link, "/tmp/x/com4");
    EXPECT_EQ(options.board.dispenser1.denomination, 10000);
    EXPECT_EQ(options.board.dispenser1.stock, 40);
    EXPECT_EQ(options.board.dispenser2.denomination, 1000);
    EXPECT_EQ(options.board.dispenser2.stock, 7);
    EXPECT_EQ(options.board.hopperStock, 12);
    EXPECT_EQ(options.board.lowLevel, 5);
    EXPECT_EQ(options.gap.count(), 0);

    const std::vector<std::vector<std::string>> refused = {
        {"--dispenser1", "2000:10"},
        {"--dispenser2", "5000"},
        {"--dispenser2", "5000:-1"},
        {"--hopper", "many"},
        {"--gap"},
        {"--colour", "red"},
        {"stray"},
    };
    for (const auto& args : refused) {
        stBoardSimOptions untouched;
        EXPECT_FALSE(ParseBoardSimCommandLine(args, untouched, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace

}  // namespace hx
