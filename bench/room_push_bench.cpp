// Room list latency of the whole system: our front-desk server with 1,000
// rooms, the kiosk program connected to it, and a movie page on the screen's
// socket. Each sample pushes the whole room list from the desk (20 pages of
// 50 rooms) and times it until the page has the list's EndSetRoomData.
// Reference in the same run: a push of one changed room until its
// UpdateRoomData, the same path with one room instead of a thousand.
// The clock starts when the push command is written to the desk, so the
// desk's own work for the pages is inside the measured time.
// The last line is "ratio list/single R".
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "kiosk/support/daily_log.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "kiosk/support/paths.h"
#include "platform/cp949.h"
#include "platform/envr.h"
#include "platform/local_time.h"
#include "tests/support/temp_drive.h"
#include "tests/support/test_movie_page.h"

namespace hx {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRooms = 1000;
constexpr int kSamples = 15;
constexpr const char* kDeskAddress = "127.0.88.1";

std::filesystem::path WriteScenario(const std::filesystem::path& folder) {
    // Every room shown, so a changed room goes to the screen on its own.
    nlohmann::json scenario = {{"configuration", {{"showAllRooms", 1}}}};
    for (int classId = 1; classId <= 10; ++classId) {
        scenario["classes"].push_back({{"classId", classId},
                                       {"classValue", classId},
                                       {"name", "객실" + std::to_string(classId)}});
    }
    for (int i = 0; i < kRooms; ++i) {
        const int roomNo = 1001 + i;
        scenario["rooms"].push_back({{"roomNo", roomNo},
                                     {"classId", 1 + i % 10},
                                     {"state", 0},
                                     {"lockGroup", 1},
                                     {"displayMode", 0},
                                     {"firstPrice", 30000},
                                     {"secondPrice", 50000},
                                     {"serverStamp", 0},
                                     {"name", std::to_string(roomNo) + "호"},
                                     {"rentalDuration", "0300"},
                                     {"lockNo", roomNo}});
    }
    const std::filesystem::path file = folder / "rooms1000.json";
    std::ofstream(file) << scenario.dump(1);
    return file;
}

class CChild {
public:
    explicit CChild(std::vector<std::string> args, bool withInput = false) {
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        int input[2] = {-1, -1};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (withInput && ::pipe(input) == 0) {
            posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
            posix_spawn_file_actions_addclose(&actions, input[1]);
        }
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        if (input[0] >= 0) {
            ::close(input[0]);
            m_input = input[1];
        }
    }
    ~CChild() {
        if (m_input >= 0) {
            ::close(m_input);
        }
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    CChild(const CChild&) = delete;
    CChild& operator=(const CChild&) = delete;

    bool Tell(const std::string& line) const {
        const std::string text = line + "\n";
        return ::write(m_input, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }

private:
    pid_t m_pid = -1;
    int m_input = -1;
};

std::optional<std::string> WaitForKioskLog(const std::regex& pattern) {
    const auto file = GetLogPath(CDailyLogWriter::FileNameFor("HXKioskLog", GetLocalTimeNow()));
    for (int i = 0; i < 600; ++i) {
        std::ifstream in(file, std::ios::binary);
        const std::string text = Utf8FromCp949(
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
        std::smatch match;
        if (std::regex_search(text, match, pattern)) {
            return match[1].str();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

bool IsCall(const std::string& request, const std::string& command) {
    return request.find("<string>" + command + ";") != std::string::npos;
}

// Reads calls until `command`; the number of SetRoomData calls on the way, or -1.
int ReadUntil(CTestMoviePage& page, const std::string& command) {
    int rooms = 0;
    while (const std::optional<std::string> request = page.NextInvoke()) {
        if (IsCall(*request, command)) {
            return rooms;
        }
        rooms += IsCall(*request, "SetRoomData") ? 1 : 0;
    }
    return -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from telling the desk `line` until the page got `command`.
std::optional<double> TimePush(const CChild& desk, CTestMoviePage& page, const std::string& line,
                               const std::string& command, int expectedRooms) {
    const auto start = Clock::now();
    if (!desk.Tell(line) || ReadUntil(page, command) != expectedRooms) {
        return std::nullopt;
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int Run(const CTempDrive& drive) {
    CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
    CEnvr(kRegistryApplication).WriteString("TCP/IP", "Server", kDeskAddress);
    const std::filesystem::path scenario = WriteScenario(drive.Folder());
    CChild desk(
        {HX_FRONTDESK_PROGRAM, "--scenario", scenario.string(), "--data",
         (drive.Folder() / "desk").string(), "--listen", std::string(kDeskAddress) + ":12001"},
        true);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CChild kiosk({HX_KIOSK_PROGRAM, "--drive", drive.Folder().string(), "--ui-port", "0"});
    const std::optional<std::string> port =
        WaitForKioskLog(std::regex("listening on 127\\.0\\.0\\.1:([0-9]+)"));
    CTestMoviePage page;
    if (!port || !WaitForKioskLog(std::regex("(서버와 연결됨)")) ||
        !page.Connect(static_cast<uint16_t>(std::stoi(*port))) ||
        !page.SendCommand("InitKiosk", "") || ReadUntil(page, "InitKiosk") < 0 ||
        !page.SendCommand("SetRoomData", "") || ReadUntil(page, "EndSetRoomData") != kRooms) {
        std::fprintf(stderr, "the kiosk did not show the desk's %d rooms\n", kRooms);
        return 1;
    }
    // A list may still be on its way (the desk's pages can cross the page's
    // request); the calls come in order, so one change pushed now drains it.
    if (!desk.Tell("room 1001 name=준비") || ReadUntil(page, "UpdateRoomData") < 0) {
        std::fprintf(stderr, "the kiosk did not pass on a room change\n");
        return 1;
    }
    std::vector<double> list;
    std::vector<double> single;
    for (int sample = 0; sample < kSamples; ++sample) {
        const std::optional<double> whole = TimePush(desk, page, "rooms", "EndSetRoomData", kRooms);
        const std::optional<double> one = TimePush(
            desk, page, "room 1001 name=" + std::to_string(sample) + "호", "UpdateRoomData", 0);
        if (!whole || !one) {
            std::fprintf(stderr, "sample %d: the screen did not get the push\n", sample);
            return 1;
        }
        list.push_back(*whole);
        single.push_back(*one);
    }
    std::printf("whole list of %d rooms, push to EndSetRoomData: median %.2f ms (%d samples)\n",
                kRooms, Median(list), kSamples);
    std::printf("one room, push to UpdateRoomData (reference): median %.2f ms\n", Median(single));
    std::printf("ratio list/single %.2f\n", Median(list) / Median(single));
    return 0;
}

}  // namespace

}  // namespace hx

int main() {
    using namespace hx;
    const CTempDrive drive;
    return Run(drive);
}
