// The kiosk as an operator installs it: `cmake --install` of this build into
// a fresh prefix, then the installed program started from a folder of its
// own serves its screen from the installed files with the installed libraries.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "kiosk/app/testing_kiosk_program.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_movie_page.h"

namespace hx {

namespace {

namespace fs = std::filesystem;

// Runs a program to its end; its output and error output, for messages.
std::optional<std::string> RunToEnd(const std::vector<std::string>& args, const fs::path& scratch) {
    stChildLaunch launch;
    launch.args = args;
    launch.outputFile = scratch / "output.txt";
    launch.errorFile = scratch / "output.txt";
    CChildProcess child;
    if (!child.Start(launch) || child.WaitForExit() != 0) {
        return std::nullopt;
    }
    return ReadWholeFile(launch.outputFile);
}

class KioskInstall : public ::testing::Test {
protected:
    void SetUp() override {
        const std::optional<std::string> output = RunToEnd(
            {HX_CMAKE_COMMAND, "--install", HX_BINARY_DIR, "--prefix", m_prefix.Path().string()},
            m_drive.Folder());
        ASSERT_TRUE(output) << ReadWholeFile(m_drive.Folder() / "output.txt");
    }

    fs::path Installed(const fs::path& relative) const { return m_prefix.Path() / relative; }

    CTempFolder m_prefix{"hxprefix"};
    CTempDrive m_drive;
};

TEST_F(KioskInstall, InstallsTheProgramsLibrariesAndScreenButNotTheScreenshots) {
    for (const fs::path& file :
         {fs::path(HX_INSTALL_BINDIR) / "hxkiosk", fs::path(HX_INSTALL_BINDIR) / "hxmoney",
          fs::path(HX_INSTALL_BINDIR) / "hxreg", fs::path(HX_INSTALL_BINDIR) / "frontdesk",
          fs::path(HX_INSTALL_LIBDIR) / "libHxNet.so",
          fs::path(HX_INSTALL_LIBDIR) / "libHxChannel.so",
          fs::path(HX_WEB_INSTALL_DIR) / "index.html",
          fs::path(HX_WEB_INSTALL_DIR) / "js/main.js"}) {
        EXPECT_TRUE(fs::is_regular_file(Installed(file))) << file;
    }
    EXPECT_FALSE(fs::exists(Installed(fs::path(HX_WEB_INSTALL_DIR) / "screenshots")));

    // The loader finds the installed libraries, not those of the build tree.
    for (const char* program : {"hxkiosk", "frontdesk"}) {
        const std::optional<std::string> libraries = RunToEnd(
            {"ldd", Installed(fs::path(HX_INSTALL_BINDIR) / program).string()}, m_drive.Folder());
        ASSERT_TRUE(libraries) << program;
        for (const char* library : {"libHxNet.so", "libHxChannel.so"}) {
            const std::size_t line = libraries->find(std::string(library) + " => ");
            ASSERT_NE(line, std::string::npos) << *libraries;
            const std::string found = libraries->substr(line, libraries->find('\n', line) - line);
            EXPECT_NE(found.find(m_prefix.Path().string()), std::string::npos) << found;
        }
    }
}

TEST_F(KioskInstall, TheInstalledKioskStartedElsewhereServesItsScreen) {
    CChildProcess kiosk;
    stKioskStart start;
    start.program = Installed(fs::path(HX_INSTALL_BINDIR) / "hxkiosk");
    start.workingFolder = m_drive.MakeFolder("elsewhere");
    ASSERT_TRUE(StartKioskProgram(kiosk, m_drive.Folder(), start));
    std::string log;
    const std::optional<std::uint16_t> port = WaitForScreenPort(log);
    ASSERT_TRUE(port) << log;

    const stHttpAnswer page = HttpGet(*port, "/");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.body, ReadWholeFile(Installed(fs::path(HX_WEB_INSTALL_DIR) / "index.html")));
    const stHttpAnswer script = HttpGet(*port, "/js/main.js");
    EXPECT_EQ(script.status, 200);
    EXPECT_EQ(script.body, ReadWholeFile(Installed(fs::path(HX_WEB_INSTALL_DIR) / "js/main.js")));
    EXPECT_EQ(kiosk.Stop(), 0);
}

}  // namespace

}  // namespace hx
