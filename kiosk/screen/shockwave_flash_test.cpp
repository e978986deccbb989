#include "kiosk/screen/shockwave_flash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <mutex>
#include <thread>

#include "platform/loop_test_support.h"
#include "platform/message_loop.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_movie_page.h"

namespace hx {

namespace {

std::string Request(std::string_view body) {
    return R"(<invoke name="ReceiveScript" returntype="xml"><arguments><string>)" +
           std::string(body) + "</string></arguments></invoke>";
}

TEST(MovieRequests, TrailingSeparatorIsCutAndLessThanIsEscaped) {
    EXPECT_EQ(BuildReceiveScriptRequest("InitKiosk", "All||1||Rental"),
              Request("InitKiosk;All||1||Rental"));
    EXPECT_EQ(BuildReceiveScriptRequest("SetRecvMoney", "a||b||"), Request("SetRecvMoney;a||b"));
    // A single trailing "|" takes the character before it along.
    EXPECT_EQ(BuildReceiveScriptRequest("X", "a||bc|"), Request("X;a||b"));
    EXPECT_EQ(BuildReceiveScriptRequest("X", "|"), Request("X;"));
    EXPECT_EQ(BuildReceiveScriptRequest("X", "스위트|"), Request("X;스위"));
    EXPECT_EQ(BuildReceiveScriptRequest("PopupLoading", ""), Request("PopupLoading;"));

    EXPECT_EQ(BuildReceiveScriptRequest("X", "<b>&amp;<<"), Request("X;&clampb>&amp;&clamp&clamp"));
    // The command name is taken as it is.
    EXPECT_EQ(BuildReceiveScriptRequest("A<B", "|x<|"), Request("A<B;|x"));
}

TEST(MovieArguments, EmptyPiecesAreNoValues) {
    using Values = std::vector<std::string>;
    EXPECT_EQ(SplitMovieArguments("12||||true"), (Values{"12", "true"}));
    EXPECT_EQ(SplitMovieArguments("||스위트||305||"), (Values{"스위트", "305"}));
    EXPECT_EQ(SplitMovieArguments("a|||b|c"), (Values{"a", "|b|c"}));
    EXPECT_EQ(SplitMovieArguments(""), Values{});
    EXPECT_EQ(SplitMovieArguments("||||"), Values{});
}

TEST(MovieArguments, NumbersAreReadAsPlainDecimals) {
    EXPECT_EQ(ParseMovieNumber("25000"), 25000);
    EXPECT_EQ(ParseMovieNumber(" \t 305호"), 305);
    EXPECT_EQ(ParseMovieNumber("25,000"), 25);
    EXPECT_EQ(ParseMovieNumber("-500"), 0);
    EXPECT_EQ(ParseMovieNumber("true"), 0);
    EXPECT_EQ(ParseMovieNumber(""), 0);
    EXPECT_EQ(ParseMovieNumber("2147483647"), INT_MAX);
    EXPECT_EQ(ParseMovieNumber("99999999999999999999999"), INT_MAX);

    EXPECT_EQ(ParseMovieRoomNumber(" 1,203 "), 1203);
    EXPECT_EQ(ParseMovieRoomNumber(",3,0,5,"), 305);
    EXPECT_EQ(ParseMovieRoomNumber("3 05"), 3);
    EXPECT_EQ(ParseMovieRoomNumber("   "), 0);
}

struct stDelivered {
    std::string command;
    std::string args;
    std::uint32_t threadId;
};

class MovieBridge : public ::testing::Test {
protected:
    void SetUp() override {
        m_settings.port = 0;
        m_settings.webRoot = m_folder.Path() / "web";
        m_settings.pictureFolder = m_folder.Path() / "RoomImage";
        ASSERT_TRUE(WriteWholeFile(m_settings.webRoot / "index.html", "<html></html>"));
        ASSERT_TRUE(
            m_flash.Open(m_settings, [this](const std::string& command, const std::string& args) {
                m_delivered.push_back({command, args, GetCurrentThreadId()});
                if (m_onCommand) {
                    m_onCommand(command, args);
                }
            }));
        ASSERT_TRUE(m_page.Connect(m_flash.GetPort()));
    }
    void TearDown() override { m_flash.Close(); }

    // Lines the host wrote on its own threads.
    std::vector<std::string> LogLines() {
        std::lock_guard lock(m_logLock);
        return m_log;
    }
    bool WaitForDelivered(std::size_t count) {
        return PumpUntil([&] { return m_delivered.size() >= count; });
    }

    CTempFolder m_folder{"hxbridge"};
    stMovieHostSettings m_settings;
    std::mutex m_logLock;
    std::vector<std::string> m_log;
    CShockwaveflash m_flash{[this](std::string_view line) {
        std::lock_guard lock(m_logLock);
        m_log.emplace_back(line);
    }};
    std::vector<stDelivered> m_delivered;
    CShockwaveflash::FSCommandSink m_onCommand;
    CTestMoviePage m_page;
};

TEST_F(MovieBridge, CommandsReachTheInterfaceThreadInOrderAndCallsWaitForInitKiosk) {
    m_onCommand = [this](const std::string& command, const std::string&) {
        if (command == "InitKiosk") {
            m_flash.ReceiveScript("InitKiosk", "All||1||Rental");
        }
    };
    // The first command also shows the page is connected: a call now would reach it.
    ASSERT_TRUE(m_page.SendCommand("SetRoomData", ""));
    ASSERT_TRUE(WaitForDelivered(1));
    EXPECT_FALSE(m_flash.IsMovieReady());
    m_flash.ReceiveScript("UseKiosk", "1");
    m_flash.ReceiveScript("InitRoomData", "");

    ASSERT_TRUE(m_page.SendCommand("InitKiosk", ""));
    ASSERT_TRUE(m_page.SendCommand("SelectRoom", "스위트||305"));
    ASSERT_TRUE(WaitForDelivered(3));
    EXPECT_TRUE(m_flash.IsMovieReady());
    EXPECT_EQ(m_delivered[0].command, "SetRoomData");
    EXPECT_EQ(m_delivered[1].command, "InitKiosk");
    EXPECT_EQ(m_delivered[2].command, "SelectRoom");
    EXPECT_EQ(m_delivered[2].args, "스위트||305");
    for (const stDelivered& delivered : m_delivered) {
        EXPECT_EQ(delivered.threadId, GetCurrentThreadId());
    }

    // The calls made before InitKiosk never left the kiosk.
    EXPECT_EQ(m_page.NextInvoke(), Request("InitKiosk;All||1||Rental"));
}

TEST_F(MovieBridge, RequestsReachThePageExactlyAsBuilt) {
    ASSERT_TRUE(m_page.SendCommand("InitKiosk", ""));
    ASSERT_TRUE(WaitForDelivered(1));

    m_flash.ReceiveScript("SetRecvMoney", "50000||60000||10000||");
    m_flash.ReceiveScript("DeleteRoomData", "<특실>&||305");
    m_flash.ReceiveScript("MakeTicketRes", "1||0|");
    EXPECT_EQ(m_page.NextInvoke(), Request("SetRecvMoney;50000||60000||10000"));
    EXPECT_EQ(m_page.NextInvoke(), Request("DeleteRoomData;&clamp특실>&||305"));
    EXPECT_EQ(m_page.NextInvoke(), Request("MakeTicketRes;1||"));
}

TEST_F(MovieBridge, AClosedBridgeDeliversNothingAndATakenPortIsReported) {
    ASSERT_TRUE(m_page.SendCommand("SelectRoom", "305"));
    m_flash.Close();
    EXPECT_EQ(m_flash.GetSafeHwnd(), 0u);
    PumpMessagesFor(0);
    EXPECT_TRUE(m_delivered.empty());

    CMovieHost holder;
    holder.SetLogSink([](std::string_view) {});
    ASSERT_TRUE(holder.Start(m_settings));
    stMovieHostSettings taken = m_settings;
    taken.port = holder.GetPort();
    EXPECT_FALSE(m_flash.Open(taken, {}));
    EXPECT_EQ(m_flash.GetSafeHwnd(), 0u);
    EXPECT_EQ(m_log.back(),
              "화면 서버: 포트를 열 수 없음: 127.0.0.1:" + std::to_string(taken.port));

    EXPECT_TRUE(m_flash.Open(m_settings, {}));
    EXPECT_FALSE(m_flash.Open(m_settings, {}));
    EXPECT_NE(m_flash.GetSafeHwnd(), 0u);  // a second Open leaves the first alone
}

TEST_F(MovieBridge, TheHostQuotesARequestInTheLogOnlyUpToTheBound) {
    const std::string target = "/RoomImage/../" + std::string(3000, 'x') + "%0D%0A[forged]";
    EXPECT_EQ(HttpGet(m_flash.GetPort(), target).status, 404);
    const std::vector<std::string> log = LogLines();
    const auto refused = std::find_if(log.begin(), log.end(), [](const std::string& line) {
        return line.starts_with("화면 서버: 제공 폴더 밖의 요청 거부");
    });
    ASSERT_NE(refused, log.end());
    EXPECT_TRUE(refused->ends_with("...(잘림, 전체 3061바이트)")) << *refused;
    EXPECT_EQ(refused->find("forged"), std::string::npos);
}

}  // namespace

}  // namespace hx
