#include "kiosk/support/daily_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

#include "kiosk/support/kiosk_settings_defaults.h"
#include "kiosk/support/paths.h"
#include "platform/envr.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

using namespace std::string_literals;

const stLocalTime kLastMoment{2026, 12, 9, 23, 59, 59, 999};
const stLocalTime kNextDay{2026, 12, 10, 0, 0, 0, 0};

class DailyLogTest : public ::testing::Test {
protected:
    void SetUp() override { CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication); }
    CTempDrive m_drive;
};

TEST_F(DailyLogTest, LineIsByteExactCp949WithCrLfInTheFileOfItsOwnDay) {
    CDailyLogWriter writer("HXKioskLog");
    writer.WriteAt(kLastMoment, "서버와 연결됨.");
    writer.WriteAt(kNextDay, "처음 화면으로 전환.");

    const std::string expected =
        "[2026-12-09 23:59:59.999]"
        "\xbc\xad\xb9\xf6\xbf\xcd\x20\xbf\xac\xb0\xe1\xb5\xca\x2e"
        "\r\n";
    EXPECT_EQ(ReadWholeFile(GetLogPath("HXKioskLog-20261209.log")), expected);
    const std::string nextDay = ReadWholeFile(GetLogPath("HXKioskLog-20261210.log"));
    EXPECT_EQ(nextDay.rfind("[2026-12-10 00:00:00.000]", 0), 0u);
}

TEST_F(DailyLogTest, TextIsNeverUsedAsAFormatAndLinesAppend) {
    CDailyLogWriter writer("HXKioskLog");
    writer.WriteAt(kLastMoment, "%s %d 100% %n");
    writer.WriteAt(kLastMoment, "second");
    EXPECT_EQ(ReadWholeFile(GetLogPath("HXKioskLog-20261209.log")),
              "[2026-12-09 23:59:59.999]%s %d 100% %n\r\n"
              "[2026-12-09 23:59:59.999]second\r\n");
}

TEST_F(DailyLogTest, ControlCharactersAreShownAndNeverBreakTheLine) {
    const struct {
        std::string text;
        std::string written;
    } cases[] = {
        {"a.png\r\n[2026-12-09 00:00:00.000]forged", "a.png\\r\\n[2026-12-09 00:00:00.000]forged"},
        {"multi\nline", "multi\\nline"},
        {"cr\ronly", "cr\\ronly"},
        {"tab\there", "tab\\there"},
        {"nul\0esc\x1b del\x7f"s, "nul\\x00esc\\x1B del\\x7F"},
        {"연결\r\n끊김", "\xbf\xac\xb0\xe1\\r\\n\xb2\xf7\xb1\xe8"},
        {"line\u2028separator\u0085next", "line?separator?next"},  // not in CP949
    };
    CDailyLogWriter writer("HXKioskLog");
    for (const auto& [text, written] : cases) {
        SCOPED_TRACE(written);
        EXPECT_EQ(CDailyLogWriter::LineFor(kLastMoment, text),
                  "[2026-12-09 23:59:59.999]" + written + "\r\n");
        writer.WriteAt(kLastMoment, text);
    }
    const std::string file = ReadWholeFile(GetLogPath("HXKioskLog-20261209.log"));
    const auto lines = static_cast<std::ptrdiff_t>(std::size(cases));
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), lines);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\r'), lines);
}

TEST_F(DailyLogTest, MissingLogFolderIsCreated) {
    ASSERT_FALSE(std::filesystem::exists(GetProgramPath()));
    HXKioskLog("하드웨어 체크 시작.");
    EXPECT_TRUE(std::filesystem::is_directory(GetLogPath()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(GetLogPath()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(DailyLogTest, BoardAndDispenserLogsFollowTheirSwitchAtEveryEntry) {
    CDailyLogWriter board("PCBLog", "PCBLog", 1);
    const auto boardFile = GetLogPath("PCBLog-20261209.log");

    CEnvr().WriteInt("Settings", "PCBLog", 2);
    board.WriteAt(kLastMoment, "PC  >>CB off");
    EXPECT_FALSE(std::filesystem::exists(boardFile));

    CEnvr().WriteInt("Settings", "PCBLog", 1);
    board.WriteAt(kLastMoment, "PC<<  CB on");
    EXPECT_EQ(ReadWholeFile(boardFile), "[2026-12-09 23:59:59.999]PC<<  CB on\r\n");

    CEnvr().WriteInt("Settings", "DispenserLog", 0);
    DispenserLog("(a) (b) c");
    EXPECT_FALSE(std::filesystem::exists(
        GetLogPath(CDailyLogWriter::FileNameFor("DispenserLog", GetLocalTimeNow()))));
}

TEST_F(DailyLogTest, LinesFromManyThreadsNeverInterleave) {
    CDailyLogWriter writer("HXKioskLog");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&writer, t] {
            for (int i = 0; i < 200; ++i) {
                writer.WriteAt(kLastMoment, std::string(300, static_cast<char>('a' + t)));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::ifstream in(GetLogPath("HXKioskLog-20261209.log"), std::ios::binary);
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        ASSERT_EQ(line.size(), 25u + 300u + 1u);  // stamp, text, CR
        EXPECT_EQ(std::set<char>(line.begin() + 25, line.end() - 1).size(), 1u);
        ++count;
    }
    EXPECT_EQ(count, 800);
}

}  // namespace

}  // namespace hx
