#include "net/log.h"

#include <gtest/gtest.h>

#include <string>

#include "net/test_drive_folder.h"

namespace hx {

namespace {

TEST(Log, WritesIntoTheDiagnosticFolderOfTheDrive) {
    CTestDriveFolder drive;
    CLog log(CLog::LOG_FILE, 4, "Test.log");
    EXPECT_EQ(log.GetPath(), drive.Root() / "Program Files" / "Harlix" / "LogFiles" / "Test.log");
    EXPECT_FALSE(std::filesystem::exists(log.GetPath().parent_path()));  // nothing before a record
    log.Write(3, "a=%d %s\r\n", 5, "x");
    log.Write(5, "above the threshold\r\n");
    log.Write(4, "b\r\n");
    EXPECT_EQ(CTestDriveFolder::ReadFile(log.GetPath()), "a=5 x\r\nb\r\n");
}

TEST(Log, EachWriterStartsTheFileAfresh) {
    CTestDriveFolder drive;
    {
        CLog first(CLog::LOG_FILE, 4, "Again.log");
        first.Write(1, "old record");
    }
    CLog second(CLog::LOG_FILE, 4, "Again.log");
    second.Write(1, "new");
    EXPECT_EQ(CTestDriveFolder::ReadFile(second.GetPath()), "new");
}

TEST(Log, LongRecordsAreCut) {
    CTestDriveFolder drive;
    CLog log(CLog::LOG_FILE, 4, nullptr);
    std::string longText(5000, 'z');
    log.Write(1, "%s", longText.c_str());
    EXPECT_EQ(log.GetPath().filename(), "unnamed.log");
    EXPECT_EQ(CTestDriveFolder::ReadFile(log.GetPath()), std::string(CLog::kMaxRecord, 'z'));
}

TEST(Log, SilentWithoutTheProgramFolders) {
    CTestDriveFolder drive(false);
    CLog log(CLog::LOG_FILE, 4, "Nowhere.log");
    log.Write(1, "lost");
    log.Write(1, "lost again");
    EXPECT_FALSE(std::filesystem::exists(drive.Root() / "Program Files"));
}

}  // namespace

}  // namespace hx
