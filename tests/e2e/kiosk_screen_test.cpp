// The kiosk program, our front-desk server and a movie client on the screen's
// WebSocket, each a real process or socket: the rooms the server offers reach
// the screen line by line, as the movie asks for them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "kiosk/support/paths.h"
#include "tests/e2e/kiosk_with_desk_test.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

using KioskScreenTest = CKioskWithDeskTest;

TEST_F(KioskScreenTest, TheServersRoomsReachTheMovieLineByLine) {
    const std::vector<std::string> lines = AskForRoomList();
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
        size_t separators = 0;
        for (size_t at = line.find("||"); at != std::string::npos; at = line.find("||", at + 2)) {
            ++separators;
        }
        EXPECT_EQ(separators, 28u) << line;
    }
    const std::string sent = std::to_string(lines.size()) + "건 룸정보 전송 완료\\.";
    EXPECT_TRUE(WaitForKioskLog(std::regex(sent), m_log)) << m_log;

    EXPECT_TRUE(m_desk->WaitForJournal([](const nlohmann::json& entry) {
        return entry.value("event", "") == "received" && entry.value("command", 0) == 11220;
    }));
    EXPECT_TRUE(m_desk->WaitForJournal([](const nlohmann::json& entry) {
        return entry.value("event", "") == "received" && entry.value("command", 0) == 15;
    }));
}

TEST_F(KioskScreenTest, WithTheFilterOnASoldRoomLeavesTheScreenAndComesBackWhenFree) {
    ASSERT_FALSE(AskForRoomList().empty());
    EXPECT_EQ(m_desk->Command("config showAllRooms=0").rfind("ok", 0), 0u);
    ASSERT_TRUE(WaitForScript("InitRoomData"));
    ASSERT_TRUE(NextRoomList());

    EXPECT_EQ(m_desk->Command("room 201 state=1").rfind("ok", 0), 0u);
    EXPECT_EQ(WaitForScript("DeleteRoomData"), "스탠다드||201");

    // A list may be resent meanwhile (the picture download ends with one),
    // without 201 while it is sold; only the room being free brings it back.
    EXPECT_EQ(m_desk->Command("room 201 state=0").rfind("ok", 0), 0u);
    const auto hasRoom201 = [](const std::vector<std::string>& lines) {
        return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find("||201호||") != std::string::npos;
        });
    };
    std::optional<std::vector<std::string>> again;
    do {
        again = NextRoomList();
    } while (again && !hasRoom201(*again));
    EXPECT_TRUE(again) << "201 never came back";
}

TEST_F(KioskScreenTest, OnlyMissingPicturesAreFetchedBehindTheLoadingScreen) {
    const std::filesystem::path pictures = GetSkinPath("RoomImage");
    const std::filesystem::path offered =
        std::filesystem::path(HX_FRONTDESK_SCENARIOS) / "sample-pictures";
    auto allFetched = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(offered)) {
            if (!std::filesystem::exists(pictures / entry.path().filename())) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(WaitUntil(allFetched));
    // The screen has its rooms once the download has ended.
    ASSERT_FALSE(AskForRoomList().empty());
    const size_t requestsBefore = JournalCount(511);

    std::filesystem::remove(pictures / "201_0.png");
    EXPECT_EQ(m_desk->Command("images").rfind("ok", 0), 0u);
    // The first download's last frames may still be on their way to the page,
    // so the file itself proves the fetch; the screen then shows and clears
    // the loading popup.
    EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(pictures / "201_0.png"); }));
    EXPECT_TRUE(WaitForScript("PopupLoading"));
    EXPECT_TRUE(WaitForScript("ClearLoading"));
    EXPECT_EQ(JournalCount(511), requestsBefore + 1);
}

TEST_F(KioskScreenTest, TheServersNoticesReachTheScreenAndEveryBoxTheLog) {
    // "Ready!" answered the start-up notice; it is the operator's, so the log
    // has it and the screen does not: the desk's notice is the first box the
    // page gets, though "Ready!" came long before.
    EXPECT_TRUE(WaitForKioskLog(
        std::regex("메시지 상자 \\(운영자용, 화면에 표시 안 함\\) \\[HxKiosk\\] Ready!"), m_log))
        << m_log;
    EXPECT_EQ(m_desk->Command("message 안내 \"오늘 밤 10시 점검\"").rfind("ok", 0), 0u);
    const std::optional<nlohmann::json> box = m_page.NextMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(*box, nlohmann::json::parse(R"({"caption": "안내", "text": "오늘 밤 10시 점검"})"));
    EXPECT_TRUE(WaitForKioskLog(std::regex("메시지 상자 \\[안내\\] 오늘 밤 10시 점검"), m_log))
        << m_log;
}

}  // namespace

}  // namespace hx
