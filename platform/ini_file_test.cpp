#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

namespace fs = std::filesystem;

struct stFailure {
    std::string file;
    std::optional<std::string> section;
    std::optional<std::string> key;
    std::optional<std::string> value;
    bool operator==(const stFailure&) const = default;
};

std::optional<std::string> Text(const char* text) {
    return text == nullptr ? std::nullopt : std::optional<std::string>(text);
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_drive.Folder() / "Harlix" / "INI");
        SetIniWriteFailureHook(
            [this](const fs::path& file, const char* section, const char* key, const char* value) {
                m_failures.push_back({file.string(), Text(section), Text(key), Text(value)});
            });
    }
    void TearDown() override { SetIniWriteFailureHook(nullptr); }

    fs::path Ini(const char* name) const { return m_drive.Folder() / "Harlix" / "INI" / name; }

    CTempDrive m_drive;
    std::vector<stFailure> m_failures;
};

TEST_F(IniFileTest, ReadsCp949FilesWithEitherLineEndAndFallsBackToDefaults) {
    const fs::path file = Ini("HXKiosk.ini");
    EXPECT_EQ(GetPrivateProfileString("Dispenser", "port", "COM3", file), "COM3");

    WriteWholeFile(file,
                   "[Dispenser]\r\nport=COM5\r\n[Log]\nTitle=\xB1\xE2\xB7\xCF \xBD\xC7\xC6\xD0\n");
    EXPECT_EQ(GetPrivateProfileString("DISPENSER", "Port", "COM3", file), "COM5");
    EXPECT_EQ(GetPrivateProfileString("log", "title", "", file), "기록 실패");
    EXPECT_EQ(GetPrivateProfileString("log", "title", "", file, 4), "기");
    EXPECT_EQ(GetPrivateProfileString("PCB", "port", "COM3", file), "COM3");
    EXPECT_EQ(GetPrivateProfileString("Dispenser", "baud", "9600", file), "9600");
    // A folder where the file should be reads as a missing file.
    EXPECT_EQ(GetPrivateProfileString("A", "b", "x", m_drive.Folder()), "x");
}

TEST_F(IniFileTest, NumbersReadLikeAsciiToInteger) {
    EXPECT_EQ(AsciiToInt("42"), 42);
    EXPECT_EQ(AsciiToInt(" \t\r\n 42abc"), 42);
    EXPECT_EQ(AsciiToInt("-17"), -17);
    EXPECT_EQ(AsciiToInt("+5"), 5);
    EXPECT_EQ(AsciiToInt("abc"), 0);
    EXPECT_EQ(AsciiToInt(""), 0);
    EXPECT_EQ(AsciiToInt("- 5"), 0);
    EXPECT_EQ(AsciiToInt("--5"), 0);
    EXPECT_EQ(AsciiToInt("2147483647"), INT_MAX);
    EXPECT_EQ(AsciiToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(AsciiToInt("2147483648"), INT_MAX);
    EXPECT_EQ(AsciiToInt("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(AsciiToInt("4294967295"), INT_MAX);

    const fs::path file = Ini("SaveMoney.ini");
    WriteWholeFile(file, "[Money]\r\n1000=12\r\n5000=many\r\n10000= -3 notes\r\n");
    EXPECT_EQ(GetPrivateProfileNumber("Money", "1000", 0, file), 12);
    EXPECT_EQ(GetPrivateProfileNumber("Money", "5000", 9, file), 0);
    EXPECT_EQ(GetPrivateProfileNumber("Money", "10000", 0, file), -3);
    EXPECT_EQ(GetPrivateProfileNumber("Money", "RFCard", 7, file), 7);
}

TEST_F(IniFileTest, WritesCreateEditAndDeleteKeepingOtherLines) {
    const fs::path file = Ini("HXKiosk.ini");
    ASSERT_TRUE(WritePrivateProfileString("Printer", "UseSRP330", "ON", file));
    EXPECT_EQ(ReadWholeFile(file), "[Printer]\r\nUseSRP330=ON\r\n");

    WriteWholeFile(
        file, "; kiosk devices\n[Printer]\nUseSRP330=ON\nSrt320Port=COM1\n\n[PCB]\nport=COM2\n");
    ASSERT_TRUE(WritePrivateProfileString("printer", "srt320port", "대실", file));
    ASSERT_TRUE(WritePrivateProfileString("Printer", "UseSRP330", nullptr, file));
    EXPECT_EQ(ReadWholeFile(file),
              "; kiosk devices\r\n[Printer]\r\nSrt320Port=\xB4\xEB\xBD\xC7\r\n\r\n"
              "[PCB]\r\nport=COM2\r\n");
    EXPECT_EQ(GetPrivateProfileString("Printer", "Srt320Port", "", file), "대실");

    ASSERT_TRUE(WritePrivateProfileString("Printer", nullptr, nullptr, file));
    EXPECT_EQ(ReadWholeFile(file), "; kiosk devices\r\n[PCB]\r\nport=COM2\r\n");

    // Deleting what is not there is no write at all: no file appears.
    ASSERT_TRUE(WritePrivateProfileString("Money", "1000", nullptr, Ini("none.ini")));
    ASSERT_TRUE(WritePrivateProfileString("Money", nullptr, nullptr, Ini("none.ini")));
    EXPECT_FALSE(fs::exists(Ini("none.ini")));
    EXPECT_TRUE(m_failures.empty());
}

TEST_F(IniFileTest, KeysThatBelongTogetherAreWrittenInOneReplacement) {
    const fs::path file = Ini("SaveMoney.ini");
    WriteWholeFile(file, "[Money]\r\n5000=1\r\nRFCard=1\r\n");
    const std::vector<stIniEntry> counts = {
        {"1000", "10"}, {"5000", "20"}, {"10000", "30"}, {"RFCard", "40"}};
    ASSERT_TRUE(WritePrivateProfileKeys("Money", counts, file));
    EXPECT_EQ(ReadWholeFile(file), "[Money]\r\n5000=20\r\nRFCard=40\r\n1000=10\r\n10000=30\r\n");
    EXPECT_EQ(GetPrivateProfileNumber("Money", "10000", 0, file), 30);
}

TEST_F(IniFileTest, FailedWritesCallTheHookWithTheirArgumentsAndChangeNothing) {
    const fs::path missingFolder = m_drive.Folder() / "Harlix" / "NoSuchFolder" / "SaveMoney.ini";
    EXPECT_FALSE(WritePrivateProfileString("Money", "1000", "5", missingFolder));
    const fs::path underAFile = Ini("plain.ini") / "SaveMoney.ini";
    WriteWholeFile(Ini("plain.ini"), "[A]\r\n");
    EXPECT_FALSE(WritePrivateProfileString("Money", nullptr, nullptr, m_drive.Folder()));
    EXPECT_FALSE(WritePrivateProfileKeys(
        "Money", std::vector<stIniEntry>{{"1000", "1"}, {"RFCard", "2"}}, underAFile));
    const fs::path file = Ini("RoomImages.ini");
    WriteWholeFile(file, "[Name]\r\n0=a.png\r\n");
    EXPECT_FALSE(WritePrivateProfileString("Name", "0", "b.png\r\n[Count]\r\nCount=99", file));
    EXPECT_FALSE(WritePrivateProfileString(nullptr, "0", "x", file));

    EXPECT_EQ(ReadWholeFile(file), "[Name]\r\n0=a.png\r\n");
    EXPECT_EQ(ReadWholeFile(Ini("plain.ini")), "[A]\r\n");
    const std::vector<stFailure> expected = {
        {missingFolder.string(), "Money", "1000", "5"},
        {m_drive.Folder().string(), "Money", std::nullopt, std::nullopt},
        {underAFile.string(), "Money", "1000", "1"},
        {underAFile.string(), "Money", "RFCard", "2"},
        {file.string(), "Name", "0", "b.png\r\n[Count]\r\nCount=99"},
        {file.string(), std::nullopt, "0", "x"},
    };
    EXPECT_EQ(m_failures, expected);
}

TEST_F(IniFileTest, WritersOnSeveralThreadsKeepEachOthersKeys) {
    const fs::path file = Ini("RoomImages.ini");
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&file, t] {
            for (int i = 0; i < 8; ++i) {
                const std::string key = std::to_string(t * 100 + i);
                WritePrivateProfileString("CRC", key.c_str(), key.c_str(), file);
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 8; ++i) {
            const std::string key = std::to_string(t * 100 + i);
            EXPECT_EQ(GetPrivateProfileString("CRC", key, "lost", file, 255), key);
        }
    }
}

TEST_F(IniFileTest, WinIniLivesInTheWindowsFolder) {
    EXPECT_EQ(GetWinIniPath(), m_drive.Folder() / "Windows" / "win.ini");
    EXPECT_EQ(GetProfileString("ZP.Agent", "Server", "none"), "none");
    fs::create_directories(m_drive.Folder() / "Windows");
    ASSERT_TRUE(WriteProfileString("ZP.Agent", "Server", "127.0.0.5"));
    EXPECT_EQ(GetProfileString("zp.agent", "server", "", 64), "127.0.0.5");
    EXPECT_EQ(ReadWholeFile(GetWinIniPath()), "[ZP.Agent]\r\nServer=127.0.0.5\r\n");
}

}  // namespace

}  // namespace hx
