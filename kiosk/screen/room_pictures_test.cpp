#include "kiosk/screen/room_pictures.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "net/crc32.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

class RoomPictures : public ::testing::Test {
protected:
    RoomPictures()
        : m_pictures(
              [this](std::string_view command, std::string_view args) {
                  calls.push_back(std::string(command) + ";" + std::string(args));
              },
              [this](int index, const std::string& name) {
                  calls.push_back("request " + std::to_string(index) + " " + name);
                  return requestsSucceed;
              },
              [this](std::string_view line) { logLines.emplace_back(line); },
              {m_folder.Path() / "RoomImages.ini", m_folder.Path() / "Skin" / "RoomImage"}) {
        std::filesystem::create_directories(m_folder.Path() / "Skin" / "RoomImage");
    }

    std::filesystem::path Picture(const std::string& relative) const {
        return m_folder.Path() / "Skin" / "RoomImage" / relative;
    }
    void WritePicture(const std::string& relative, const std::string& bytes) {
        WriteWholeFile(Picture(relative), bytes);
    }

    // entries: name and stored checksum text.
    void WriteList(const std::vector<std::pair<std::string, std::string>>& entries,
                   const std::string& count = "") {
        std::string names = "[Name]\r\n";
        std::string crcs = "[CRC]\r\n";
        for (size_t index = 0; index < entries.size(); ++index) {
            names += std::to_string(index) + "=" + entries[index].first + "\r\n";
            crcs += std::to_string(index) + "=" + entries[index].second + "\r\n";
        }
        const std::string declared = count.empty() ? std::to_string(entries.size()) : count;
        WriteWholeFile(m_folder.Path() / "RoomImages.ini",
                       "[Count]\r\nCount=" + declared + "\r\n" + names + crcs);
    }

    CTempFolder m_folder{"hx_room_pictures"};
    std::vector<std::string> calls;
    std::vector<std::string> logLines;
    bool requestsSucceed = true;
    CRoomPictures m_pictures;
};

// "room picture 30" has a checksum above 2^31.
constexpr const char* kHighCrcBytes = "room picture 30";
constexpr const char* kHighCrcText = "3194744934";

TEST_F(RoomPictures, FetchesOnlyMissingOrChangedPictures) {
    WritePicture("101_0.png", "abc");  // checksum 739719564
    WritePicture("101_1.png", "abc");
    WriteList({{"101_0.png", "739719564"},    // same
               {"101_1.png", "12345"},        // changed
               {"102_0.png", "739719564"}});  // missing

    EXPECT_EQ(m_pictures.Synchronise(), 2u);
    EXPECT_EQ(m_pictures.DownloadList(), (std::vector<std::string>{"101_1.png", "102_0.png"}));
    EXPECT_EQ(calls, (std::vector<std::string>{"PopupLoading;", "request 0 101_1.png"}));
}

TEST_F(RoomPictures, ChecksumsAboveTwoToTheThirtyOneMatch) {
    ASSERT_EQ(Crc32(kHighCrcBytes, 15), 3194744934u);
    WritePicture("201_0.png", kHighCrcBytes);
    WriteList({{"201_0.png", kHighCrcText}});

    EXPECT_EQ(m_pictures.Synchronise(), 0u);
    EXPECT_TRUE(calls.empty());

    // The clamped value a plain signed conversion would give is no match.
    WriteList({{"201_0.png", std::to_string(INT_MAX)}});
    EXPECT_EQ(m_pictures.Synchronise(), 1u);
}

TEST_F(RoomPictures, StoredChecksumTextIsReadAsUnsigned32Bit) {
    EXPECT_EQ(ParseStoredCrc("0"), 0u);
    EXPECT_EQ(ParseStoredCrc("3194744934"), 3194744934u);
    EXPECT_EQ(ParseStoredCrc("4294967295"), 4294967295u);
    EXPECT_EQ(ParseStoredCrc("4294967296"), std::nullopt);
    EXPECT_EQ(ParseStoredCrc("-1"), std::nullopt);
    EXPECT_EQ(ParseStoredCrc("12ab"), std::nullopt);
    EXPECT_EQ(ParseStoredCrc(""), std::nullopt);
}

TEST_F(RoomPictures, FileChecksumSpansBlocksAndIsZeroWhenUnreadable) {
    std::string bytes(200000, '\0');
    for (size_t at = 0; at < bytes.size(); ++at) {
        bytes[at] = static_cast<char>(at * 31 + 7);
    }
    WritePicture("big.png", bytes);
    EXPECT_EQ(FileCrc32(m_folder.Path() / "Skin" / "RoomImage" / "big.png"),
              Crc32(bytes.data(), bytes.size()));
    EXPECT_EQ(FileCrc32(m_folder.Path() / "no such file"), 0u);

    // An existing picture that cannot be read counts as checksum 0.
    WritePicture("dir.png/inside", "x");
    WriteList({{"dir.png", "0"}, {"101_0.png", "0"}});
    EXPECT_EQ(m_pictures.Synchronise(), 1u);
    EXPECT_EQ(m_pictures.DownloadList()[0], "101_0.png");
}

TEST_F(RoomPictures, RequestsOneAtATimeAndClearsTheLoadingPopupAfterTheLast) {
    WriteList({{"101_0.png", "1"}, {"sub\\102_0.png", "2"}});
    ASSERT_EQ(m_pictures.Synchronise(), 2u);
    EXPECT_EQ(m_pictures.TargetOf(0), Picture("101_0.png"));
    EXPECT_EQ(m_pictures.TargetOf(1), std::nullopt) << "not asked for yet";
    EXPECT_EQ(m_pictures.TargetOf(-1), std::nullopt);

    calls.clear();
    EXPECT_FALSE(m_pictures.OnPictureReceived(1)) << "an answer nobody asked for";
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(m_pictures.OnPictureReceived(0));
    EXPECT_EQ(calls, (std::vector<std::string>{"PopupLoading;", "request 1 sub\\102_0.png"}));
    EXPECT_EQ(m_pictures.TargetOf(0), std::nullopt);
    EXPECT_EQ(m_pictures.TargetOf(1), Picture("sub/102_0.png"));

    calls.clear();
    EXPECT_TRUE(m_pictures.OnPictureReceived(1));
    EXPECT_EQ(calls, (std::vector<std::string>{"ClearLoading;"}));

    // A stray completion after the last picture changes nothing.
    calls.clear();
    EXPECT_FALSE(m_pictures.OnPictureReceived(1));
    EXPECT_TRUE(calls.empty());
}

TEST_F(RoomPictures, ANewListStartsOverFromItsFirstEntry) {
    WriteList({{"101_0.png", "1"}, {"102_0.png", "2"}});
    m_pictures.Synchronise();
    m_pictures.OnPictureReceived(0);
    ASSERT_EQ(m_pictures.Position(), 1u);

    WriteList({{"103_0.png", "3"}});
    calls.clear();
    EXPECT_EQ(m_pictures.Synchronise(), 1u);
    EXPECT_EQ(m_pictures.Position(), 0u);
    EXPECT_EQ(calls, (std::vector<std::string>{"PopupLoading;", "request 0 103_0.png"}));
}

TEST_F(RoomPictures, AnAnswerToAnEarlierListsRequestKeepsItsNameAndDoesNotMoveTheNewListOn) {
    WriteList({{"101_0.png", "1"}, {"102_0.png", "2"}});
    m_pictures.Synchronise();
    WriteList({{"103_0.png", "3"}, {"104_0.png", "4"}});
    m_pictures.Synchronise();  // asks for 103_0.png with the same index 0
    calls.clear();

    EXPECT_EQ(m_pictures.TargetOf(0), Picture("101_0.png"))
        << "the first answer is the first asked";
    EXPECT_FALSE(m_pictures.OnPictureReceived(0));
    EXPECT_TRUE(calls.empty()) << "104_0.png waits until 103_0.png is in";
    EXPECT_EQ(m_pictures.Position(), 0u);

    EXPECT_EQ(m_pictures.TargetOf(0), Picture("103_0.png"));
    EXPECT_FALSE(m_pictures.OnPictureReceived(0));
    EXPECT_EQ(calls, (std::vector<std::string>{"PopupLoading;", "request 1 104_0.png"}));
    EXPECT_EQ(m_pictures.TargetOf(1), Picture("104_0.png"));
    EXPECT_TRUE(m_pictures.OnPictureReceived(1));
}

TEST_F(RoomPictures, AnEarlierRequestForThePictureTheNewListWaitsForMovesItOn) {
    WriteList({{"101_0.png", "1"}, {"102_0.png", "2"}});
    m_pictures.Synchronise();
    m_pictures.OnPictureReceived(0);  // asks for 102_0.png with index 1
    WriteList({{"102_0.PNG", "2"}, {"103_0.png", "3"}});
    m_pictures.Synchronise();  // and again with index 0
    calls.clear();

    EXPECT_EQ(m_pictures.TargetOf(1), Picture("102_0.png"));
    EXPECT_FALSE(m_pictures.OnPictureReceived(1));
    EXPECT_EQ(calls, (std::vector<std::string>{"PopupLoading;", "request 1 103_0.png"}))
        << "the same picture, whatever the case of its name";

    calls.clear();
    EXPECT_FALSE(m_pictures.OnPictureReceived(0)) << "its second answer is stale";
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(m_pictures.OnPictureReceived(1));
}

TEST_F(RoomPictures, APictureHeldUnderAnotherCaseOfItsNameIsTheSamePicture) {
    WritePicture("305_0.PNG", "abc");  // checksum 739719564
    WritePicture("Sub/306_0.Png", "abc");
    WriteList({{"305_0.png", "739719564"}, {"sub\\306_0.png", "1"}});

    EXPECT_EQ(m_pictures.Synchronise(), 1u) << "305_0.png is there and unchanged";
    EXPECT_EQ(m_pictures.DownloadList(), (std::vector<std::string>{"sub\\306_0.png"}));
    EXPECT_EQ(m_pictures.TargetOf(0), Picture("Sub/306_0.Png")) << "replaced, never twinned";
}

TEST_F(RoomPictures, AFailedRequestDoesNotLeaveTheLoadingPopupUp) {
    requestsSucceed = false;
    WriteList({{"101_0.png", "1"}});
    m_pictures.Synchronise();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"PopupLoading;", "request 0 101_0.png", "ClearLoading;"}));
    EXPECT_EQ(logLines.size(), 1u);
}

TEST_F(RoomPictures, NamesThatLeaveThePictureFolderOrNameNoFileAreNeverFetched) {
    WriteList({{"..\\..\\Windows\\registry.db", "1"},
               {"/etc/passwd", "1"},
               {"c:\\Harlix\\HXKiosk.ini", "1"},
               {"", "1"},
               {".", "1"},
               {"101_0.png", "1"}});
    EXPECT_EQ(m_pictures.Synchronise(), 1u);
    EXPECT_EQ(m_pictures.DownloadList(), (std::vector<std::string>{"101_0.png"}));
    EXPECT_EQ(logLines.size(), 5u);

    const struct {
        const char* name;
        bool safe;
    } names[] = {
        {"a..b.png", true},     {"sub/101_0.png", true}, {"./101_0.png", true}, {".hidden", true},
        {"sub/../../x", false}, {"..", false},           {"\\x.png", false},    {".", false},
        {"sub/.", false},       {"sub/", false},         {"sub\\", false},      {"sub\\.", false},
    };
    for (const auto& [name, safe] : names) {
        EXPECT_EQ(IsSafePictureName(name), safe) << name;
    }
}

TEST_F(RoomPictures, CountIsBoundedByWhatTheListCanName) {
    // A missing list or count means nothing to fetch.
    EXPECT_EQ(m_pictures.Synchronise(), 0u);
    WriteList({{"101_0.png", "1"}}, "-5");
    EXPECT_EQ(m_pictures.Synchronise(), 0u);
    // A count far beyond the entries ends with them instead of reading on.
    WriteList({{"101_0.png", "1"}}, "2147483647");
    EXPECT_EQ(m_pictures.Synchronise(), 1u);
    EXPECT_TRUE(calls.size() >= 2);
}

}  // namespace

}  // namespace hx
