#include "net/log.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

TEST(Log, WritesIntoTheDiagnosticFolderOfTheDrive) {
    CTempDrive drive;
    drive.MakeFolder("Program Files/Harlix");
    CLog log(CLog::LOG_FILE, 4, "Test.log");
    EXPECT_EQ(log.GetPath(), drive.Folder() / "Program Files" / "Harlix" / "LogFiles" / "Test.log");
    EXPECT_FALSE(std::filesystem::exists(log.GetPath().parent_path()));  // nothing before a record
    log.Write(3, "a=%d %s\r\n", 5, "x");
    log.Write(5, "above the threshold\r\n");
    log.Write(4, "b\r\n");
    EXPECT_EQ(ReadWholeFile(log.GetPath()), "a=5 x\r\nb\r\n");
}

TEST(Log, EachWriterStartsTheFileAfresh) {
    CTempDrive drive;
    drive.MakeFolder("Program Files/Harlix");
    {
        CLog first(CLog::LOG_FILE, 4, "Again.log");
        first.Write(1, "old record");
    }
    CLog second(CLog::LOG_FILE, 4, "Again.log");
    second.Write(1, "new");
    EXPECT_EQ(ReadWholeFile(second.GetPath()), "new");
}

TEST(Log, LongRecordsAreCut) {
    CTempDrive drive;
    drive.MakeFolder("Program Files/Harlix");
    CLog log(CLog::LOG_FILE, 4, nullptr);
    std::string longText(5000, 'z');
    log.Write(1, "%s", longText.c_str());
    EXPECT_EQ(log.GetPath().filename(), "unnamed.log");
    EXPECT_EQ(ReadWholeFile(log.GetPath()), std::string(CLog::kMaxRecord, 'z'));
}

TEST(Log, SilentWithoutTheProgramFolders) {
    CTempDrive drive;
    CLog log(CLog::LOG_FILE, 4, "Nowhere.log");
    log.Write(1, "lost");
    log.Write(1, "lost again");
    EXPECT_FALSE(std::filesystem::exists(drive.Folder() / "Program Files"));
}

}  // namespace

}  // namespace hx
