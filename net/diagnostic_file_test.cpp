#include "net/diagnostic_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

TEST(DiagnosticFile, PastItsLimitTheFileReplacesTheOldOneAndANewOneStarts) {
    CTempDrive drive;
    drive.MakeFolder("Program Files/Harlix");
    CDiagnosticFile file("Bounded.log", 100);
    const std::filesystem::path current = CLog::DiagnosticFolder() / "Bounded.log";
    const std::filesystem::path old = CLog::DiagnosticFolder() / "Bounded.log.old";
    for (int line = 0; line < 25; ++line) {
        file.Write("line " + std::to_string(line + 10) + "\n");  // 8 bytes each
    }
    // 12 lines fill a file; the third file holds the last line, the second
    // (lines 22 to 33) is the old one, the first is gone.
    EXPECT_EQ(ReadWholeFile(current), "line 34\n");
    const std::string setAside = ReadWholeFile(old);
    EXPECT_EQ(setAside.size(), 96u);
    EXPECT_EQ(setAside.substr(0, 8), "line 22\n");
    EXPECT_EQ(setAside.substr(88), "line 33\n");
}

TEST(DiagnosticFile, MissingFoldersOnTheWayAreCreated) {
    CTempDrive drive;
    ASSERT_FALSE(std::filesystem::exists(drive.Folder() / "Program Files"));
    CDiagnosticFile file("Fresh.log");
    file.Write("first line\n");
    EXPECT_EQ(ReadWholeFile(CLog::DiagnosticFolder() / "Fresh.log"), "first line\n");
}

TEST(DiagnosticFile, ANewDriveFolderStartsAFreshFile) {
    CDiagnosticFile file("Moving.log");
    {
        CTempDrive first;
        first.MakeFolder("Program Files/Harlix");
        file.Write("first\n");
    }
    CTempDrive second;
    second.MakeFolder("Program Files/Harlix");
    file.Write("second\n");
    EXPECT_EQ(ReadWholeFile(CLog::DiagnosticFolder() / "Moving.log"), "second\n");
}

}  // namespace

}  // namespace hx
