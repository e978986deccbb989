#include "kiosk/app/web_root.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hx {

namespace {

TEST(WebRoot, TheCommandLineWinsOverTheFilesBesideTheProgram) {
    EXPECT_EQ(ResolveWebRoot("/srv/screen"), std::filesystem::path("/srv/screen"));
    EXPECT_EQ(ResolveWebRoot("relative/screen"), std::filesystem::path("relative/screen"));
}

// The build tree lays the screen out as an install does, so every program
// built there finds it without a source path compiled in.
TEST(WebRoot, TheBuildTreeHasTheScreenWhereAnInstalledKioskLooks) {
    const std::filesystem::path root = ResolveWebRoot(std::nullopt);
    EXPECT_TRUE(root.is_absolute()) << root;
    EXPECT_TRUE(std::filesystem::is_regular_file(root / "index.html")) << root;
}

}  // namespace

}  // namespace hx
