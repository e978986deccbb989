#include "tools/prnsim/help_text.h"

#include <gtest/gtest.h>

#include <sstream>

namespace hx {

namespace {

TEST(PrnSimHelpTest, FitsAnEightyColumnTerminal) {
    std::istringstream help(PrnSimHelp());
    std::string line;
    while (std::getline(help, line)) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    EXPECT_TRUE(PrnSimHelp().ends_with(PrnSimConsoleCommands()));
}

}  // namespace

}  // namespace hx
