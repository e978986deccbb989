#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    CTempDrive m_drive;
    const fs::path& m_folder = m_drive.Folder();
};

TEST_F(AtomicFileTest, CreatesAndReplacesLeavingNothingElseBehind) {
    const fs::path file = m_folder / "SaveMoney.ini";
    ASSERT_TRUE(ReplaceFileAtomically(file, "[Money]\r\n1000=1\r\n"));
    EXPECT_EQ(ReadWholeFile(file), "[Money]\r\n1000=1\r\n");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0644));

    fs::permissions(file, fs::perms(0600));
    ASSERT_TRUE(ReplaceFileAtomically(file, std::string("a\0b", 3)));
    EXPECT_EQ(ReadWholeFile(file), std::string("a\0b", 3));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0600));

    ASSERT_TRUE(ReplaceFileAtomically(file, ""));
    EXPECT_EQ(ReadWholeFile(file), "");
    EXPECT_EQ(Names(), std::vector<std::string>{"SaveMoney.ini"});
}

TEST_F(AtomicFileTest, FailuresLeaveTheOldStateAndNoTemporaryFile) {
    // A target that cannot be renamed over: the temporary file was written and must go.
    const fs::path busy = m_folder / "busy";
    fs::create_directories(busy / "inside");
    EXPECT_FALSE(ReplaceFileAtomically(busy, "new"));
    EXPECT_TRUE(fs::is_directory(busy / "inside"));
    EXPECT_EQ(Names(), std::vector<std::string>{"busy"});

    EXPECT_FALSE(ReplaceFileAtomically(m_folder / "missing" / "a.ini", "new"));
    std::ofstream(m_folder / "plain") << "old";
    EXPECT_FALSE(ReplaceFileAtomically(m_folder / "plain" / "a.ini", "new"));
    EXPECT_EQ(ReadWholeFile(m_folder / "plain"), "old");
}

TEST_F(AtomicFileTest, FlushingAFileKeepsItsContentAndFailsWhereThereIsNone) {
    // Whether the bytes reached the disk cannot be seen from here; that the
    // call reports a missing file, and leaves a present one as it was, can.
    const fs::path file = m_folder / "a.png.lock";
    std::ofstream(file, std::ios::binary) << std::string("\x89PNG\0", 5);
    EXPECT_TRUE(FlushFileToDisk(file));
    EXPECT_EQ(ReadWholeFile(file), std::string("\x89PNG\0", 5));
    EXPECT_FALSE(FlushFileToDisk(m_folder / "gone.lock"));
}

TEST_F(AtomicFileTest, AppendsCreateThenGrowAndFailWithoutAFolder) {
    const fs::path file = m_folder / "ReSend.log";
    EXPECT_FALSE(FlushAppendsToDisk(file));
    ASSERT_TRUE(AppendToFile(file, "1||0||a||\r\n"));
    ASSERT_TRUE(AppendToFile(file, "1||1||b||\r\n"));
    EXPECT_TRUE(FlushAppendsToDisk(file));
    EXPECT_EQ(ReadWholeFile(file), "1||0||a||\r\n1||1||b||\r\n");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0644));
    EXPECT_FALSE(AppendToFile(m_folder / "missing" / "ReSend.log", "x"));
    EXPECT_FALSE(AppendToFile(m_folder, "x"));
}

}  // namespace

}  // namespace hx
