#include "platform/program_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace hx {

namespace {

// Found by the process, not from the current folder or a relative name.
TEST(ProgramFile, IsThisTestProgramWhereverTheProcessStands) {
    const std::filesystem::path before = std::filesystem::current_path();
    CTempFolder elsewhere;
    std::filesystem::current_path(elsewhere.Path());
    const std::filesystem::path file = GetProgramFile();
    std::filesystem::current_path(before);

    EXPECT_TRUE(file.is_absolute()) << file;
    EXPECT_EQ(file.filename(), "platform_tests");
    EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
}

}  // namespace

}  // namespace hx
