// The kiosk program, our front-desk server and a movie client on the screen's
// WebSocket, each a real process or socket: the rooms the server offers reach
// the screen line by line, as the movie asks for them.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "kiosk/app/daily_log.h"
#include "kiosk/app/paths.h"
#include "platform/cp949.h"
#include "platform/envr.h"
#include "platform/kiosk_settings_defaults.h"
#include "tests/support/temp_drive.h"
#include "tests/support/test_movie_page.h"
#include "tools/frontdesk/testing_frontdesk.h"

extern char** environ;

namespace {

const std::filesystem::path kSample = std::filesystem::path(HX_FRONTDESK_SCENARIOS) / "sample.json";
constexpr const char* kDeskAddress = "127.0.31.1";
const std::string kInvokeStart =
    "<invoke name=\"ReceiveScript\" returntype=\"xml\"><arguments><string>";

std::string KioskLogText() {
    const auto file = GetLogPath(CDailyLogWriter::FileNameFor("HXKioskLog", GetLocalTimeNow()));
    std::ifstream in(file, std::ios::binary);
    return Utf8FromCp949(
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

// Bounded, so a broken kiosk fails the test instead of hanging it.
std::smatch WaitForLog(const std::regex& pattern, std::string& text) {
    std::smatch match;
    for (int i = 0; i < 600; ++i) {
        text = KioskLogText();
        if (std::regex_search(text, match, pattern)) {
            return match;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return match;
}

// "Command;args" of an invoke request.
std::string ScriptOf(const std::string& request) {
    const std::string end = "</string></arguments></invoke>";
    if (request.rfind(kInvokeStart, 0) != 0 || request.size() < kInvokeStart.size() + end.size()) {
        return {};
    }
    return request.substr(kInvokeStart.size(), request.size() - kInvokeStart.size() - end.size());
}

class CKioskProcess {
public:
    explicit CKioskProcess(const CTempDrive& drive) {
        std::vector<std::string> args = {HX_KIOSK_PROGRAM, "--drive", drive.Folder().string(),
                                         "--ui-port", "0"};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    }
    ~CKioskProcess() {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }

private:
    pid_t m_pid = -1;
};

TEST(KioskScreen, TheServersRoomsReachTheMovieLineByLine) {
    CTempDrive drive;
    CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
    CEnvr(kRegistryApplication).WriteString("TCP/IP", "Server", kDeskAddress);
    std::filesystem::create_directories(drive.Folder() / "desk");
    CFrontDeskProcess desk(kDeskAddress, kSample, drive.Folder() / "desk");
    ASSERT_TRUE(desk.WaitUntilListening());
    CKioskProcess kiosk(drive);

    std::string log;
    const std::smatch port = WaitForLog(std::regex("listening on 127\\.0\\.0\\.1:([0-9]+)"), log);
    ASSERT_FALSE(port.empty()) << log;
    ASSERT_FALSE(WaitForLog(std::regex("서버와 연결됨\\."), log).empty()) << log;

    CTestMoviePage page;
    ASSERT_TRUE(page.Connect(static_cast<uint16_t>(std::stoi(port[1].str()))));
    ASSERT_TRUE(page.SendCommand("InitKiosk", ""));
    const std::optional<std::string> answer = page.NextInvoke();
    ASSERT_TRUE(answer);
    EXPECT_EQ(ScriptOf(*answer).rfind("InitKiosk;", 0), 0u) << *answer;

    // The rooms may still be on their way: ask until a whole list arrives.
    std::vector<std::string> lines;
    bool ended = false;
    for (int attempt = 0; attempt < 20 && !ended; ++attempt) {
        ASSERT_TRUE(page.SendCommand("SetRoomData", ""));
        lines.clear();
        while (std::optional<std::string> request = page.NextInvoke()) {
            const std::string script = ScriptOf(*request);
            if (script.rfind("SetRoomData;", 0) == 0) {
                lines.push_back(script.substr(12));
            } else if (script.rfind("EndSetRoomData;", 0) == 0) {
                ended = true;
                break;
            }
        }
    }
    ASSERT_TRUE(ended);
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
        size_t separators = 0;
        for (size_t at = line.find("||"); at != std::string::npos; at = line.find("||", at + 2)) {
            ++separators;
        }
        EXPECT_EQ(separators, 28u) << line;
    }
    const std::string sent = std::to_string(lines.size()) + "건 룸정보 전송 완료\\.";
    EXPECT_FALSE(WaitForLog(std::regex(sent), log).empty()) << log;

    EXPECT_TRUE(desk.WaitForJournal([](const nlohmann::json& entry) {
        return entry.value("event", "") == "received" && entry.value("command", 0) == 11220;
    }));
    EXPECT_TRUE(desk.WaitForJournal([](const nlohmann::json& entry) {
        return entry.value("event", "") == "received" && entry.value("command", 0) == 15;
    }));
}

}  // namespace
