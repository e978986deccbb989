// Room list latency of the whole system: our front-desk server with 1,000
// rooms, the kiosk program connected to it, and a movie page on the screen's
// socket. Each sample pushes the whole room list from the desk (20 pages of
// 50 rooms) and times it until the page has the list's EndSetRoomData.
// Reference in the same run: a push of one changed room until its
// UpdateRoomData, the same path with one room instead of a thousand.
// The clock starts when the push command is written to the desk, so the
// desk's own work for the pages is inside the measured time.
// The last line is "ratio list/single R".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "kiosk/app/testing_kiosk_program.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "platform/envr.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
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

// The desk, taking control commands on its input; no journal, so that its own
// work in a push is only the push. True once it listens.
bool StartDesk(CChildProcess& desk, const std::filesystem::path& scenario,
               const std::filesystem::path& folder) {
    stChildLaunch launch;
    launch.args = {HX_FRONTDESK_PROGRAM,
                   "--scenario",
                   scenario.string(),
                   "--data",
                   (folder / "desk").string(),
                   "--listen",
                   std::string(kDeskAddress) + ":12001"};
    launch.withInput = true;
    launch.outputFile = folder / "desk.out";
    launch.errorFile = folder / "desk.err";
    return desk.Start(launch) && WaitForLine(launch.errorFile, [](const std::string& line) {
                                     return line.starts_with("frontdesk: listening on");
                                 }).has_value();
}

bool Tell(CChildProcess& desk, const std::string& line) {
    return desk.WriteInput(line + "\n");
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
std::optional<double> TimePush(CChildProcess& desk, CTestMoviePage& page, const std::string& line,
                               const std::string& command, int expectedRooms) {
    const auto start = Clock::now();
    if (!Tell(desk, line) || ReadUntil(page, command) != expectedRooms) {
        return std::nullopt;
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int Run(const CTempDrive& drive) {
    CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
    CEnvr(kRegistryApplication).WriteString("TCP/IP", "Server", kDeskAddress);
    const std::filesystem::path scenario = WriteScenario(drive.Folder());
    CChildProcess desk;
    if (!StartDesk(desk, scenario, drive.Folder())) {
        std::fprintf(stderr, "the desk did not start\n");
        return 1;
    }
    CChildProcess kiosk;
    std::string log;
    const std::optional<std::uint16_t> port =
        StartKioskProgram(kiosk, drive.Folder()) ? WaitForScreenPort(log) : std::nullopt;
    CTestMoviePage page;
    if (!port || !WaitForKioskLog(std::regex("(서버와 연결됨)")) || !page.Connect(*port) ||
        !page.SendCommand("InitKiosk", "") || ReadUntil(page, "InitKiosk") < 0 ||
        !page.SendCommand("SetRoomData", "") || ReadUntil(page, "EndSetRoomData") != kRooms) {
        std::fprintf(stderr, "the kiosk did not show the desk's %d rooms\n", kRooms);
        return 1;
    }
    // A list may still be on its way (the desk's pages can cross the page's
    // request); the calls come in order, so one change pushed now drains it.
    if (!Tell(desk, "room 1001 name=준비") || ReadUntil(page, "UpdateRoomData") < 0) {
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
