#include "kiosk/server/resend_file.h"

#include <gtest/gtest.h>

#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

using Lines = std::vector<std::string>;

class ResendFile : public ::testing::Test {
protected:
    CTempFolder m_folder;
    const std::filesystem::path m_path = m_folder.Path() / "LogFiles" / "ReSend.log";
    CReSendFile m_file{m_path};
};

TEST_F(ResendFile, AppendsWholeLinesAndEndsALineACrashCutShort) {
    ASSERT_TRUE(m_file.Append("1||0||a||"));
    ASSERT_TRUE(WriteWholeFile(m_path, ReadWholeFile(m_path) + "2||5||0||to"));  // torn
    ASSERT_TRUE(m_file.Append("1||1||b||"));
    EXPECT_EQ(ReadWholeFile(m_path), "1||0||a||\r\n2||5||0||to\r\n1||1||b||\r\n");
    EXPECT_EQ(m_file.Lines(), (Lines{"1||0||a||", "2||5||0||to", "1||1||b||"}));
    EXPECT_TRUE(m_file.FlushAppends());
    std::filesystem::remove(m_path);
    EXPECT_TRUE(m_file.FlushAppends()) << "nothing left to flush";
}

TEST_F(ResendFile, DeliveredLinesLeaveFromTheFrontAndTheLastTakesTheFile) {
    ASSERT_TRUE(WriteWholeFile(m_path, "a\r\n\r\nb\nc\r\n\r\n"));
    EXPECT_EQ(m_file.Lines(), (Lines{"a", "b", "c"}));
    EXPECT_FALSE(m_file.RemoveLeading({"b"})) << "not the front";
    EXPECT_TRUE(m_file.RemoveLeading({}));
    EXPECT_EQ(ReadWholeFile(m_path), "a\r\n\r\nb\nc\r\n\r\n") << "nothing delivered, untouched";
    ASSERT_TRUE(m_file.RemoveLeading({"a", "b"}));
    EXPECT_EQ(ReadWholeFile(m_path), "c\r\n");
    ASSERT_TRUE(m_file.RemoveLeading({"c"}));
    EXPECT_FALSE(std::filesystem::exists(m_path));

    ASSERT_TRUE(WriteWholeFile(m_path, "\r\n\r\n"));
    EXPECT_TRUE(m_file.Lines().empty());
    ASSERT_TRUE(m_file.RemoveLeading({}));
    EXPECT_FALSE(std::filesystem::exists(m_path)) << "a file of empty lines goes";
}

}  // namespace

}  // namespace hx
