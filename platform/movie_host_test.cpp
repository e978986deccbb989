#include "platform/movie_host.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/tcp_stream.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_movie_page.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace fs = std::filesystem;

namespace {

const std::string kSecret = "[Secret]\nPassword=do-not-serve\n";

// Both sides of the host, as the kiosk sees them: the commands handed over
// on the server's threads and the log lines.
class CHostRecorder {
public:
    void Take(stPageCommand command) {
        std::lock_guard lock(m_lock);
        m_commands.push_back(std::move(command));
        m_changed.notify_all();
    }
    void Log(std::string_view line) {
        std::lock_guard lock(m_lock);
        m_log.emplace_back(line);
    }

    // The first `count` commands, once they are there (bounded wait).
    std::vector<stPageCommand> WaitForCommands(std::size_t count) {
        std::unique_lock lock(m_lock);
        m_changed.wait_for(lock, std::chrono::seconds(10),
                           [&] { return m_commands.size() >= count; });
        return m_commands;
    }
    int LogLinesWith(std::string_view part) {
        std::lock_guard lock(m_lock);
        int count = 0;
        for (const std::string& line : m_log) {
            count += line.find(part) != std::string::npos ? 1 : 0;
        }
        return count;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<stPageCommand> m_commands;
    std::vector<std::string> m_log;
};

class MovieHost : public ::testing::Test {
protected:
    void SetUp() override {
        m_settings.port = 0;
        m_settings.webRoot = m_folder.Path() / "web";
        m_settings.pictureFolder = m_folder.Path() / "Harlix/Skin/RoomImage";
        WriteWholeFile(m_settings.webRoot / "index.html", "<html>screen</html>");
        WriteWholeFile(m_settings.webRoot / "js/screen.js", "let screen;");
        WriteWholeFile(m_settings.pictureFolder / "305_0.png", "picture 305");
        WriteWholeFile(m_folder.Path() / "Harlix/INI/HXKiosk.ini", kSecret);
        fs::create_symlink("../../INI/HXKiosk.ini", m_settings.pictureFolder / "escape.png");
        fs::create_symlink("305_0.png", m_settings.pictureFolder / "alias.png");
        WriteWholeFile(m_settings.webRoot / "settings.json", "stale file");
        m_settings.documents["/settings.json"] = {
            "application/json",
            [this] { return "{\"served\": " + std::to_string(++m_documentsMade) + "}"; }};

        m_host.SetCommandHandler(
            [this](stPageCommand command) { m_seen.Take(std::move(command)); });
        m_host.SetLogSink([this](std::string_view line) { m_seen.Log(line); });
        ASSERT_TRUE(m_host.Start(m_settings));
        ASSERT_NE(m_host.GetPort(), 0);
    }
    void TearDown() override { m_host.Stop(); }

    // The host registers a page just after its handshake; calls wait for that.
    void WaitForPages(int count) {
        WaitUntil([&] { return m_host.GetPageCount() == count; }, std::chrono::seconds(10));
        ASSERT_EQ(m_host.GetPageCount(), count);
    }

    CTempFolder m_folder{"hxmovie"};
    std::atomic<int> m_documentsMade{0};
    stMovieHostSettings m_settings;
    CHostRecorder m_seen;
    CMovieHost m_host;
};

TEST(PageFrames, AreReadOrRefusedWithAReason) {
    std::string problem;
    const std::optional<stPageCommand> command =
        ParsePageFrame(R"({"extra":[1],"fscommand":"SetRoomData"})", problem);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->command, "SetRoomData");
    EXPECT_EQ(command->args, "");

    const std::string tooLong =
        R"({"fscommand":"SelectRoom","args":")" + std::string(kMaxPageFrameBytes, 'x') + "\"}";
    for (const std::string& frame :
         {std::string("not json"), std::string(R"(["fscommand","InitKiosk"])"),
          std::string(R"({"fscommand":7,"args":""})"), std::string(R"({"args":"x"})"),
          std::string(R"({"fscommand":"SetPay","args":null})"),
          std::string("{\"fscommand\":\"SetPay\",\"args\":\"\xff\xfe\"}"), std::string(),
          tooLong}) {
        problem.clear();
        EXPECT_FALSE(ParsePageFrame(frame, problem)) << frame.substr(0, 60);
        EXPECT_FALSE(problem.empty()) << frame.substr(0, 60);
    }
}

TEST(PageFrames, InvokeFramesCarryTheRequestExactly) {
    const std::string request =
        R"(<invoke name="ReceiveScript" returntype="xml"><arguments><string>A;&clamp\ "객실"</string></arguments></invoke>)";
    const nlohmann::json frame = nlohmann::json::parse(BuildInvokeFrame(request));
    EXPECT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame["invoke"].get<std::string>(), request);

    // A broken byte must not cost the whole call.
    const nlohmann::json mended =
        nlohmann::json::parse(BuildInvokeFrame("a\xff"
                                               "b"));
    EXPECT_EQ(mended["invoke"].get<std::string>(),
              "a\xEF\xBF\xBD"
              "b");
}

TEST_F(MovieHost, ServesThePageAndTheRoomPictures) {
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/").body, "<html>screen</html>");
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/js/screen.js").body, "let screen;");
    const stHttpAnswer picture = HttpGet(m_host.GetPort(), "/skin/RoomImage/305_0.png");
    EXPECT_EQ(picture.status, 200);
    EXPECT_EQ(picture.body, "picture 305");
    // A link that stays inside the picture folder is fine.
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/skin/RoomImage/alias.png").body, "picture 305");
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/skin/RoomImage/%33%30%35_0.png").body, "picture 305");
    // The desk may name it in another case; the pictures' folder alone ignores it.
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/skin/RoomImage/305_0.PNG").body, "picture 305");
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/JS/screen.js").status, 404);

    EXPECT_EQ(HttpGet(m_host.GetPort(), "/skin/RoomImage/306_0.png").status, 404);
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/missing.html").status, 404);
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/js").status, 404);

    // A document is made for each request, before a file of its path.
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/settings.json").body, R"({"served": 1})");
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/settings.json").body, R"({"served": 2})");
}

TEST_F(MovieHost, NoOtherFileOfTheDriveIsReachable) {
    const std::string absolute = (m_folder.Path() / "Harlix/INI/HXKiosk.ini").string();
    for (const std::string& target : {
             std::string("/skin/RoomImage/../../INI/HXKiosk.ini"),
             std::string("/skin/RoomImage/%2e%2e/%2e%2e/INI/HXKiosk.ini"),
             std::string("/skin/RoomImage/%2E%2E%2F%2E%2E%2FINI%2FHXKiosk.ini"),
             std::string("/skin/RoomImage/..%5c..%5cINI%5cHXKiosk.ini"),
             std::string("/skin/RoomImage/escape.png"),
             std::string("/skin/RoomImage/ESCAPE.png"),
             std::string("/skin/RoomImage/") + absolute,
             std::string("/skin/RoomImage/%2F") + absolute.substr(1),
             std::string("/skin/RoomImage/./../../INI/HXKiosk.ini"),
             std::string("/../Harlix/INI/HXKiosk.ini"),
             std::string("/%2e%2e/Harlix/INI/HXKiosk.ini"),
             std::string("/skin/../../Harlix/INI/HXKiosk.ini"),
             std::string("/") + absolute,
             std::string("/skin/RoomImage/"),
         }) {
        const stHttpAnswer answer = HttpGet(m_host.GetPort(), target);
        EXPECT_NE(answer.status, 200) << target;
        EXPECT_EQ(answer.body.find("do-not-serve"), std::string::npos) << target;
    }
    // Refusals are told, so an operator can see someone probing.
    EXPECT_GE(m_seen.LogLinesWith("제공 폴더 밖의 요청 거부"), 2);
}

TEST_F(MovieHost, CommandsArriveInOrderAndMalformedFramesAreLoggedAndDropped) {
    CTestMoviePage page;
    ASSERT_TRUE(page.Connect(m_host.GetPort()));
    ASSERT_TRUE(page.SendCommand("SelectRoom", "스위트||305<&>\"x\""));
    ASSERT_TRUE(page.SendText("InitKiosk"));
    ASSERT_TRUE(page.SendText(R"({"fscommand":["InitKiosk"],"args":""})"));
    ASSERT_TRUE(page.SendText(R"({"fscommand":"SetPay","args":{"room":305}})"));
    ASSERT_TRUE(page.SendText(R"({"fscommand":"SetPay","args":"305)"));
    ASSERT_TRUE(page.SendFrame(0x82, R"({"fscommand":"InitKiosk","args":""})"));  // binary
    ASSERT_TRUE(page.SendFrame(0x01, R"({"fscommand":"Init)"));  // first of two fragments
    ASSERT_TRUE(page.SendFrame(0x80, R"(Kiosk","args":""})"));
    ASSERT_TRUE(page.SendText(R"({"fscommand":"SelectRoom","args":")" +
                              std::string(kMaxPageFrameBytes, '1') + "\"}"));
    ASSERT_TRUE(page.SendCommand("SetHome", "0||true"));

    const std::vector<stPageCommand> seen = m_seen.WaitForCommands(2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].command, "SelectRoom");
    EXPECT_EQ(seen[0].args, "스위트||305<&>\"x\"");
    EXPECT_EQ(seen[1].command, "SetHome");
    EXPECT_EQ(seen[1].args, "0||true");
    EXPECT_EQ(m_seen.LogLinesWith("화면 프레임 버림"), 8);
    EXPECT_EQ(m_host.GetPageCount(), 1);
}

TEST_F(MovieHost, CallsReachEveryConnectedPage) {
    EXPECT_EQ(m_host.CallFunction("nobody listens"), 0);

    CTestMoviePage first;
    CTestMoviePage second;
    ASSERT_TRUE(first.Connect(m_host.GetPort()));
    ASSERT_TRUE(
        second.Connect(m_host.GetPort(), "http://127.0.0.1:" + std::to_string(m_host.GetPort())));
    WaitForPages(2);

    const std::string request = R"(<invoke name="ReceiveScript">객실&clamp;"\</invoke>)";
    EXPECT_EQ(m_host.CallFunction(request), 2);
    EXPECT_EQ(first.NextInvoke(), request);
    EXPECT_EQ(second.NextInvoke(), request);

    first.Close();
    WaitForPages(1);
    EXPECT_EQ(m_host.CallFunction("second only"), 1);
    EXPECT_EQ(second.NextInvoke(), "second only");
}

TEST_F(MovieHost, MessageBoxesReachThePagesOrWaitForTheNextPage) {
    const nlohmann::json frame = nlohmann::json::parse(BuildMessageBoxFrame("안내", "점검\n예정"));
    EXPECT_EQ(frame, nlohmann::json::parse(
                         R"({"messageBox": {"caption": "안내", "text": "점검\n예정"}})"));

    // Shown while no page is there: kept, the oldest going beyond the limit.
    for (size_t i = 0; i <= kMaxWaitingMessageBoxes; ++i) {
        EXPECT_EQ(m_host.ShowMessageBox("box", std::to_string(i)), 0);
    }
    CTestMoviePage first;
    ASSERT_TRUE(first.Connect(m_host.GetPort()));
    for (size_t i = 1; i <= kMaxWaitingMessageBoxes; ++i) {
        const std::optional<nlohmann::json> box = first.NextMessageBox();
        ASSERT_TRUE(box);
        EXPECT_EQ((*box)["text"], std::to_string(i));
    }
    WaitForPages(1);

    // Once delivered they are gone; new ones go straight to every page.
    CTestMoviePage second;
    ASSERT_TRUE(second.Connect(m_host.GetPort()));
    WaitForPages(2);
    EXPECT_EQ(m_host.ShowMessageBox("Ready", "Ready!"), 2);
    EXPECT_EQ(m_host.CallFunction("after the box"), 2);
    EXPECT_EQ(second.NextInvoke(), "after the box") << "the box came first and was kept";
    const std::optional<nlohmann::json> box = second.NextMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ((*box)["text"], "Ready!");
    EXPECT_EQ(first.NextMessageBox().value_or(nlohmann::json())["caption"], "Ready");
}

TEST_F(MovieHost, PagesOfOtherSitesAreRefused) {
    CTestMoviePage foreign;
    EXPECT_FALSE(foreign.Connect(m_host.GetPort(), "http://example.com"));
    CTestMoviePage otherPort;
    EXPECT_FALSE(otherPort.Connect(m_host.GetPort(), "http://127.0.0.1:1"));
    CTestMoviePage local;
    EXPECT_TRUE(
        local.Connect(m_host.GetPort(), "http://localhost:" + std::to_string(m_host.GetPort())));
    EXPECT_EQ(m_seen.LogLinesWith("다른 출처의 화면 연결 거부: http://example.com"), 1);
}

// A screen without its page would stay blank: the host refuses to start,
// with no folder at all as with a folder that lacks the page.
TEST_F(MovieHost, WithoutItsPageTheHostDoesNotStart) {
    for (const fs::path& root : {m_folder.Path() / "missing", m_folder.Path()}) {
        CMovieHost other;
        other.SetLogSink([this](std::string_view line) { m_seen.Log(line); });
        stMovieHostSettings settings = m_settings;
        settings.webRoot = root;
        EXPECT_FALSE(other.Start(settings)) << root;
        EXPECT_FALSE(other.IsRunning());
        EXPECT_EQ(m_seen.LogLinesWith("화면 파일 없음: " + (root / "index.html").string()), 1)
            << root;
    }
}

TEST_F(MovieHost, StopClosesThePagesAndFreesThePort) {
    CTestMoviePage page;
    ASSERT_TRUE(page.Connect(m_host.GetPort()));
    WaitForPages(1);
    const std::uint16_t port = m_host.GetPort();

    CMovieHost second;
    second.SetLogSink([this](std::string_view line) { m_seen.Log(line); });
    stMovieHostSettings samePort = m_settings;
    samePort.port = port;
    EXPECT_FALSE(second.Start(samePort));
    EXPECT_EQ(m_seen.LogLinesWith("포트를 열 수 없음: 127.0.0.1:" + std::to_string(port)), 1);
    EXPECT_FALSE(m_host.Start(m_settings));  // running already
    EXPECT_EQ(m_seen.LogLinesWith("이미 실행 중"), 1);

    m_host.Stop();
    EXPECT_FALSE(m_host.IsRunning());
    EXPECT_EQ(m_host.GetPort(), 0);
    EXPECT_EQ(m_host.CallFunction("after stop"), 0);
    EXPECT_EQ(page.NextText(), std::nullopt);
    EXPECT_TRUE(second.Start(samePort));
}

// Room lists pushed to two pages, one of which has stopped reading.
TEST_F(MovieHost, APageThatStopsReadingHoldsUpNoCallAndNoOtherPage) {
    CTestMoviePage stalled;  // never reads until it has been dropped
    CTestMoviePage reader;
    ASSERT_TRUE(stalled.Connect(m_host.GetPort()));
    ASSERT_TRUE(reader.Connect(m_host.GetPort()));
    WaitForPages(2);

    // The stalled page's connection takes a few megabytes before anything
    // waits for it; the bound only keeps a broken host from looping forever.
    const std::string rooms(64 * 1024, 'r');
    const auto numbered = [&](int i) {
        const std::string number = std::to_string(i);
        return std::string(8 - number.size(), '0') + number + rooms;
    };
    constexpr int kMaxPushes = 1024;
    int pushed = 0;
    int queuedFor = 2;
    while (queuedFor == 2 && pushed < kMaxPushes) {
        queuedFor = m_host.CallFunction(numbered(pushed));
        // The call came back though one page has read nothing, and the
        // other page has the frame.
        ASSERT_EQ(reader.NextInvoke(), numbered(pushed)) << pushed;
        ++pushed;
    }
    ASSERT_EQ(queuedFor, 1) << "the stalled page was never dropped";
    EXPECT_EQ(m_seen.LogLinesWith("화면이 받기를 멈춤"), 1);

    // A box that no page takes waits for the next page.
    reader.Close();
    WaitForPages(1);
    EXPECT_EQ(m_host.CallFunction("to nobody"), 0);
    EXPECT_EQ(m_host.ShowMessageBox("안내", "kept"), 0);

    // Reading at last, the dropped page finds the frames before the drop,
    // in order, and then the end of its connection.
    int read = 0;
    while (const std::optional<std::string> request = stalled.NextInvoke()) {
        ASSERT_EQ(*request, numbered(read));
        ++read;
    }
    EXPECT_LT(read, pushed - 1);
    WaitForPages(0);

    CTestMoviePage reconnected;
    ASSERT_TRUE(reconnected.Connect(m_host.GetPort()));
    const std::optional<nlohmann::json> box = reconnected.NextMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ((*box)["text"], "kept");
    EXPECT_EQ(m_host.CallFunction("welcome back"), 1);
    EXPECT_EQ(reconnected.NextInvoke(), "welcome back");
}

TEST_F(MovieHost, IdlePagesLeaveRoomForMorePagesAndForFiles) {
    std::array<CTestMoviePage, kMaxPages> pages;
    for (CTestMoviePage& page : pages) {
        ASSERT_TRUE(page.Connect(m_host.GetPort()));
    }
    WaitForPages(kMaxPages);
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/js/screen.js").body, "let screen;");

    CTestMoviePage oneTooMany;
    EXPECT_FALSE(oneTooMany.Connect(m_host.GetPort()));
    EXPECT_EQ(
        m_seen.LogLinesWith("화면 연결 거부: 이미 " + std::to_string(kMaxPages) + "개 연결됨"), 1);
    EXPECT_EQ(HttpGet(m_host.GetPort(), "/").body, "<html>screen</html>");

    // A place that frees up can be taken again.
    pages.front().Close();
    WaitForPages(kMaxPages - 1);
    CTestMoviePage returning;
    ASSERT_TRUE(returning.Connect(m_host.GetPort()));
    WaitForPages(kMaxPages);
    EXPECT_EQ(m_host.CallFunction("to every page"), kMaxPages);
    EXPECT_EQ(returning.NextInvoke(), "to every page");
    EXPECT_EQ(pages.back().NextInvoke(), "to every page");
}

// A short request time-out, longer than the time pages' workers wait before
// they look up.
class MovieHostWithShortTimeout : public MovieHost {
protected:
    void SetUp() override {
        m_settings.requestTimeout = std::chrono::milliseconds(1500);
        MovieHost::SetUp();
    }
};

TEST_F(MovieHostWithShortTimeout, ARequestThatNeverEndsIsCutButAnIdlePageStays) {
    CTestMoviePage idle;
    ASSERT_TRUE(idle.Connect(m_host.GetPort()));
    WaitForPages(1);

    // The request's header never ends; the host ends the connection.
    CTcpStream half;
    ASSERT_TRUE(half.Connect("127.0.0.1", m_host.GetPort()));
    ASSERT_TRUE(half.SendAll("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n"));
    std::string reply;
    const auto deadline = std::chrono::steady_clock::now() + kTestPatience;
    while (half.ReceiveSome(reply, deadline)) {
    }
    EXPECT_LT(std::chrono::steady_clock::now(), deadline) << "the host did not end the request";
    EXPECT_EQ(reply.find("screen"), std::string::npos);

    // The page said nothing for all that time and is still served.
    EXPECT_EQ(m_host.CallFunction("still there"), 1);
    EXPECT_EQ(idle.NextInvoke(), "still there");
}

}  // namespace

}  // namespace hx
