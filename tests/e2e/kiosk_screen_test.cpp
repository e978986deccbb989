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

#include "kiosk/app/testing_kiosk_program.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "kiosk/support/paths.h"
#include "platform/envr.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_drive.h"
#include "tests/support/test_movie_page.h"
#include "tests/support/wait_until.h"
#include "tools/frontdesk/testing_frontdesk.h"

namespace hx {

namespace {

const std::filesystem::path kSample = std::filesystem::path(HX_FRONTDESK_SCENARIOS) / "sample.json";
// Tests may run side by side and the kiosk always uses port 12001, so each
// test's desk gets a loopback address of its own.
std::string DeskAddressForThisTest() {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return "127.0.31." + std::to_string(1 + std::hash<std::string>{}(name) % 250);
}
const std::string kInvokeStart =
    "<invoke name=\"ReceiveScript\" returntype=\"xml\"><arguments><string>";

// "Command;args" of an invoke request.
std::string ScriptOf(const std::string& request) {
    const std::string end = "</string></arguments></invoke>";
    if (request.rfind(kInvokeStart, 0) != 0 || request.size() < kInvokeStart.size() + end.size()) {
        return {};
    }
    return request.substr(kInvokeStart.size(), request.size() - kInvokeStart.size() - end.size());
}

// The desk, then the kiosk pointed at it, then a movie page that has said
// InitKiosk and been answered.
class KioskScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
        const std::string address = DeskAddressForThisTest();
        CEnvr(kRegistryApplication).WriteString("TCP/IP", "Server", address.c_str());
        std::filesystem::create_directories(m_drive.Folder() / "desk");
        m_desk = std::make_unique<CFrontDeskProcess>(address, kSample, m_drive.Folder() / "desk");
        ASSERT_TRUE(m_desk->WaitUntilListening());
        ASSERT_TRUE(StartKioskProgram(m_kiosk, m_drive.Folder()));

        const std::optional<std::uint16_t> port = WaitForScreenPort(m_log);
        ASSERT_TRUE(port) << m_log;
        ASSERT_TRUE(WaitForKioskLog(std::regex("서버와 연결됨\\."), m_log)) << m_log;
        ASSERT_TRUE(m_page.Connect(*port));
        ASSERT_TRUE(m_page.SendCommand("InitKiosk", ""));
        const std::optional<std::string> answer = m_page.NextInvoke();
        ASSERT_TRUE(answer);
        EXPECT_EQ(ScriptOf(*answer).rfind("InitKiosk;", 0), 0u) << *answer;
    }

    // The next call of `command` on the screen; its argument text, or nullopt.
    std::optional<std::string> WaitForScript(std::string_view command) {
        const std::string prefix = std::string(command) + ";";
        while (std::optional<std::string> request = m_page.NextInvoke()) {
            const std::string script = ScriptOf(*request);
            if (script.rfind(prefix, 0) == 0) {
                return script.substr(prefix.size());
            }
        }
        return std::nullopt;
    }

    // The room lines of the next whole list on the screen.
    std::optional<std::vector<std::string>> NextRoomList() {
        std::vector<std::string> lines;
        while (std::optional<std::string> request = m_page.NextInvoke()) {
            const std::string script = ScriptOf(*request);
            if (script.rfind("SetRoomData;", 0) == 0) {
                lines.push_back(script.substr(12));
            } else if (script.rfind("EndSetRoomData;", 0) == 0) {
                return lines;
            }
        }
        return std::nullopt;
    }

    // The rooms may still be on their way: ask until a whole list arrives.
    std::vector<std::string> AskForRoomList() {
        for (int attempt = 0; attempt < 20; ++attempt) {
            EXPECT_TRUE(m_page.SendCommand("SetRoomData", ""));
            if (std::optional<std::vector<std::string>> lines = NextRoomList()) {
                if (!lines->empty()) {
                    return *lines;
                }
            }
        }
        return {};
    }

    size_t JournalCount(int command) const {
        size_t count = 0;
        for (const nlohmann::json& entry : m_desk->Journal()) {
            count += entry.value("event", "") == "received" && entry.value("command", 0) == command;
        }
        return count;
    }

    CTempDrive m_drive;
    std::unique_ptr<CFrontDeskProcess> m_desk;
    CChildProcess m_kiosk;
    CTestMoviePage m_page;
    std::string m_log;
};

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

TEST_F(KioskScreenTest, TheServersMessageBoxesReachTheScreenAndTheLog) {
    // "Ready!" answered the start-up notice before the page was there; it waited.
    const std::optional<nlohmann::json> ready = m_page.NextMessageBox();
    ASSERT_TRUE(ready);
    EXPECT_EQ((*ready)["text"], "Ready!");

    EXPECT_EQ(m_desk->Command("message 안내 \"오늘 밤 10시 점검\"").rfind("ok", 0), 0u);
    const std::optional<nlohmann::json> box = m_page.NextMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(*box, nlohmann::json::parse(R"({"caption": "안내", "text": "오늘 밤 10시 점검"})"));
    EXPECT_TRUE(WaitForKioskLog(std::regex("메시지 상자 \\[안내\\] 오늘 밤 10시 점검"), m_log))
        << m_log;
}

}  // namespace

}  // namespace hx
