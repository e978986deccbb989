#include "kiosk/screen/device_health.h"

#include <gtest/gtest.h>

#include "platform/loop_test_support.h"

namespace hx {

namespace {

using Calls = std::vector<std::string>;

TEST(SalesBlockingFault, ABillDispenserStopsSalesOnlyWhenChangeCanNoLongerBeGiven) {
    struct stCase {
        int code;
        stChangeDispensers change;
        bool blocks;
        const char* why;
    };
    const stCase cases[] = {
        {202, {3, 1000, 10000, 10000}, true, "both dispensers out of order"},
        {205, {2, 1000, 10000, 1000}, false, "only the larger note's dispenser"},
        {202, {1, 1000, 10000, 1000}, true, "the smaller note's, which the prices need"},
        {203, {1, 1000, 10000, 10000}, false, "the smaller note's, below the prices' unit"},
        {206, {2, 10000, 5000, 5000}, true, "dispenser 2 holds the smaller note"},
        {202, {1, 10000, 5000, 5000}, false, "dispenser 1 holds the larger note"},
        {301, {}, true, "printer"},
        {401, {}, true, "card terminal"},
        {505, {}, true, "key card dispenser"},
        {101, {}, true, "control board"},
        {102, {}, false, "an open door"},
        {402, {}, false, "a declined card"},
        {300, {}, false, "no text, no fault"},
        {3000, {}, false, "a settings write"},
    };
    for (const stCase& c : cases) {
        EXPECT_EQ(BlocksSales(c.code, c.change), c.blocks) << c.code << ": " << c.why;
    }
}

// The devices' answers are the test's to set; every call the monitor makes
// to the screen, the server and the log is recorded in order.
class DeviceHealth : public CManualClockTest {
protected:
    void SetUp() override {
        CManualClockTest::SetUp();
        m_window.onMessage = [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            return message == WM_TIMER && m_health.OnTimer(wParam) ? 0 : 1;
        };
        m_window.Create();
        m_health.Attach(m_window);
    }

    CDeviceHealth::stHooks Hooks() {
        CDeviceHealth::stHooks hooks;
        hooks.movie = [this](std::string_view command, std::string_view) {
            m_calls.emplace_back(command);
        };
        hooks.sendEvent = [this](int code, bool cleared, std::string_view text) {
            m_calls.push_back("505 " + std::to_string(code) + (cleared ? " cleared " : " ") +
                              std::string(text));
            return m_serverUp;
        };
        hooks.changeDispensers = [] { return stChangeDispensers{}; };
        CDeviceHealth::stProbes& probes = hooks.probes;
        probes.adminScreensOpen = [this] { return m_adminOpen; };
        probes.askMissingTerminalInfo = [] {};
        probes.cardTerminalKnown = [] { return true; };
        probes.pollFaultyCashDevices = [] {};
        probes.boardPortOpen = [] { return true; };
        probes.cashDeviceError = [] { return false; };
        probes.keyCardDispenserReady = [] { return true; };
        probes.printerState = [this] {
            if (m_duringCheck) {
                std::exchange(m_duringCheck, nullptr)();
            }
            return m_printer;
        };
        probes.serverAlive = [this] { return m_serverUp; };
        hooks.log = [this](std::string_view line) {
            m_calls.push_back("log " + std::string(line));
        };
        return hooks;
    }

    Calls Take() { return std::exchange(m_calls, {}); }

    Calls m_calls;
    bool m_serverUp = true;
    bool m_adminOpen = false;
    int m_printer = CDeviceHealth::kPrinterReady;
    std::function<void()> m_duringCheck;
    CDeviceHealth m_health{Hooks()};
    CRecordingWnd m_window;
};

TEST_F(DeviceHealth, ADeclinedCardIsReportedWithItsTextAndStopsNothing) {
    m_health.Report(402, false, "[51]한도초과");
    EXPECT_EQ(Take(), (Calls{"log 신용카드 결제 실패 [51]한도초과",
                             "505 402 신용카드 결제 실패 [51]한도초과"}));
    PumpMessagesFor(60000);
    EXPECT_TRUE(Take().empty()) << "no health check";
    EXPECT_FALSE(m_health.IsBlocked());
}

TEST_F(DeviceHealth, PaperOutStopsSalesUntilACheckFindsThePaperBackThenReportsItCleared) {
    m_printer = 103;
    m_health.Report(302, false);
    EXPECT_EQ(Take(), (Calls{"log 프린터 용지 부족", "PopupError", "505 302 프린터 용지 부족"}));
    EXPECT_FALSE(m_health.MayClearError()) << "a reconnect leaves the error screen up";
    Take();

    PumpMessagesFor(CDeviceHealth::kFirstCheckMs);
    EXPECT_EQ(Take(), (Calls{"log 하드웨어 체크 시작.", "PopupError"}));
    m_printer = CDeviceHealth::kPrinterReady;
    PumpMessagesFor(CDeviceHealth::kRecheckMs - 1);
    EXPECT_TRUE(Take().empty());
    PumpMessagesFor(1);
    EXPECT_EQ(Take(), (Calls{"log 하드웨어 체크 시작.", "ClearError", "505 500 cleared ",
                             "505 300 cleared ", "log VCAT 이상 해결",
                             "505 401 cleared VCAT 이상 해결", "log 하드웨어 정상 동작 확인."}));
    EXPECT_TRUE(m_health.MayClearError());
    PumpMessagesFor(3 * CDeviceHealth::kRecheckMs);
    EXPECT_TRUE(Take().empty()) << "no checks while all is well";
}

TEST_F(DeviceHealth, EveryDeviceAndTheServerMustBeWellForTheErrorScreenToGo) {
    m_serverUp = false;
    m_health.Report(501, false);
    PumpMessagesFor(CDeviceHealth::kFirstCheckMs);
    EXPECT_TRUE(m_health.IsBlocked()) << "the server is gone";
    m_serverUp = true;
    m_adminOpen = true;
    Take();
    PumpMessagesFor(CDeviceHealth::kRecheckMs);
    EXPECT_EQ(Take(), (Calls{"log 하드웨어 체크 시작.", "log 설정창 팝업으로 인해 체크 ByPass."}));
    m_adminOpen = false;
    PumpMessagesFor(CDeviceHealth::kRecheckMs);
    EXPECT_FALSE(m_health.IsBlocked());
}

TEST_F(DeviceHealth, AFaultReportedWhileACheckRunsIsCheckedAgainRatherThanCleared) {
    m_health.Report(301, false);
    m_duringCheck = [this] { m_health.Report(504, false); };
    Take();
    PumpMessagesFor(CDeviceHealth::kFirstCheckMs);
    const Calls calls = Take();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ClearError"), 0);
    EXPECT_TRUE(m_health.IsBlocked());
    PumpMessagesFor(CDeviceHealth::kFirstCheckMs);
    EXPECT_FALSE(m_health.IsBlocked()) << "the next check, 100 ms later, finds all well";
}

TEST_F(DeviceHealth, AReportThatCannotGoOutAndAServerMissingAtStartShowTheErrorScreen) {
    m_serverUp = false;
    m_health.Report(102, true);
    EXPECT_EQ(Take(), (Calls{"log 도어 닫힘", "505 102 cleared 도어 닫힘", "PopupError"}));
    m_health.StartServerCheck();
    PumpMessagesFor(CDeviceHealth::kServerCheckMs);
    EXPECT_EQ(Take(), (Calls{"log 서버와 연결 실패.", "PopupError"}));
    PumpMessagesFor(CDeviceHealth::kServerCheckMs);
    EXPECT_TRUE(Take().empty()) << "once";
}

}  // namespace

}  // namespace hx
