#include "kiosk/screen/kiosk_settings_state.h"

#include <gtest/gtest.h>

#include "kiosk/screen/room_line.h"
#include "platform/loop_test_support.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

constexpr int64_t kHourMs = 3600 * 1000;

stKioskOptions Options(int32_t paymentTypes, int32_t sound, int32_t inService) {
    stKioskOptions options;
    options.paymentTypes = paymentTypes;
    options.sound = sound;
    options.inService = inService;
    return options;
}

class KioskSettingsState : public CManualClockTest {
protected:
    KioskSettingsState()
        : m_catalogue(
              [this](std::string_view command, std::string_view args) { Movie(command, args); },
              [](int, const std::string&) { return true; }, [](std::string_view) {},
              {m_drive.Folder() / "RoomImages.ini", m_drive.Folder() / "RoomImage"}),
          m_state(m_catalogue, Hooks()) {}

    CKioskSettingsState::stHooks Hooks() {
        CKioskSettingsState::stHooks hooks;
        hooks.movie = [this](std::string_view command, std::string_view args) {
            Movie(command, args);
        };
        hooks.requestRoomList = [this] { return ++m_roomListRequests > 0; };
        // Local time runs with the loop clock from m_startMs of day 1.
        hooks.now = [this] {
            const int64_t ms = m_startMs + static_cast<int64_t>(CLoopClock::Now() - m_clockBase);
            return stLocalTime{2024,
                               5,
                               static_cast<int>(1 + ms / (24 * kHourMs)),
                               static_cast<int>(ms / kHourMs % 24),
                               static_cast<int>(ms / 60000 % 60),
                               static_cast<int>(ms / 1000 % 60),
                               static_cast<int>(ms % 1000)};
        };
        hooks.dispenserDriverChanged = [this](bool library) {
            m_hookCalls.push_back(library ? "library" : "serial");
        };
        hooks.cardPaymentEnabled = [this] { m_hookCalls.push_back("card"); };
        return hooks;
    }

    void Movie(std::string_view command, std::string_view args) {
        m_movie.push_back(std::string(command) + ";" + std::string(args));
    }
    std::vector<std::string> TakeMovie() { return std::exchange(m_movie, {}); }
    void SetLocalTime(int hour, int minute, int second) {
        m_clockBase = CLoopClock::Now();
        m_startMs = ((hour * 60LL + minute) * 60 + second) * 1000;
    }

    CTempDrive m_drive;
    std::vector<std::string> m_movie;
    std::vector<std::string> m_hookCalls;
    int m_roomListRequests = 0;
    uint64_t m_clockBase = CLoopClock::Now();
    int64_t m_startMs = 0;
    CRoomCatalogue m_catalogue;
    CKioskSettingsState m_state;
};

TEST_F(KioskSettingsState, DayUseWindowSwitchesTheSaleTypesAndEachNewHourAsksForTheRooms) {
    stKioskConfig config;
    config.rentalRestricted = 1;
    config.rentalStartHour = 10;
    config.rentalEndHour = 15;
    SetLocalTime(14, 59, 59);
    m_state.OnKioskConfig(config);
    TakeMovie();
    CRecordingWnd window;
    window.onMessage = [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        return message == WM_TIMER && m_state.OnTimer(wParam) ? 0 : 1;
    };
    window.Create();
    m_state.Start(window);

    PumpMessagesFor(900);
    EXPECT_EQ(m_roomListRequests, 0) << "not at start";
    PumpMessagesFor(100);  // 15:00:00.0
    EXPECT_EQ(m_roomListRequests, 1);
    PumpMessagesFor(900);  // the end second still counts
    EXPECT_TRUE(m_movie.empty());
    PumpMessagesFor(100);  // 15:00:01.0
    EXPECT_EQ(TakeMovie(), (std::vector<std::string>{"EnableSaleType;Sleep"}));

    CLoopClock::Advance(kHourMs - 1100);  // 15:59:59.9; the timer fires once
    PumpMessagesFor(0);
    EXPECT_EQ(m_roomListRequests, 1) << "once per change of the hour";
    PumpMessagesFor(100);
    EXPECT_EQ(m_roomListRequests, 2);
    CLoopClock::Advance(18 * kHourMs - 100);  // 09:59:59.9 the next day
    PumpMessagesFor(0);
    EXPECT_EQ(m_roomListRequests, 3);
    EXPECT_TRUE(m_movie.empty());
    PumpMessagesFor(100);
    EXPECT_EQ(TakeMovie(), (std::vector<std::string>{"EnableSaleType;All"}));
    EXPECT_EQ(m_roomListRequests, 4);
}

TEST_F(KioskSettingsState, ConfigurationSetsFilterWindowsDenominationsAndDriver) {
    m_catalogue.AppendClassPage({1, 1, {{0, 1, 1, "스탠다드"}}});
    m_catalogue.SetMovieReady(true);
    stRoom4Kiosk vacant, occupied;
    vacant.roomNo = 101;
    occupied.roomNo = 102;
    vacant.classId = occupied.classId = 1;
    occupied.state = 1;
    m_catalogue.AppendRoomPage({1, 1, {vacant, occupied}});
    TakeMovie();
    EXPECT_EQ(m_state.LowStockThreshold(1), 20);
    EXPECT_EQ(m_state.BillDenomination(1), 1000) << "before the first configuration";
    EXPECT_EQ(m_state.BillDenomination(2), 5000) << "before the first configuration";

    stKioskConfig config;
    config.showAllRooms = 1;
    config.rentalRestricted = 1;
    config.rentalStartHour = 24;  // 00:30 to 06:00
    config.rentalStartMinute = 30;
    config.rentalEndHour = 6;
    config.dispenser1Denomination = 1;
    config.dispenser1LowStock = 15;
    config.dispenser2Denomination = 7;
    m_state.OnKioskConfig(config);
    EXPECT_EQ(TakeMovie().size(), 4u) << "first: InitRoomData, both rooms, EndSetRoomData";
    m_state.OnKioskConfig(config);
    EXPECT_TRUE(m_movie.empty()) << "the filter did not change";
    config.showAllRooms = 0;
    m_state.OnKioskConfig(config);
    EXPECT_EQ(TakeMovie(), (std::vector<std::string>{
                               "InitRoomData;", "SetRoomData;" + BuildRoomLine(vacant, "스탠다드"),
                               "EndSetRoomData;"}));

    for (const auto& [minute, saleType] : {std::pair{10, SALE_TYPE_SLEEP}, {30, SALE_TYPE_ALL}}) {
        SetLocalTime(0, minute, 0);
        m_state.CheckSaleTypeAndHour();
        EXPECT_EQ(m_state.SaleType(), saleType) << "hour 24 is midnight; 00:" << minute;
    }
    EXPECT_EQ(m_state.BillDenomination(1), 5000);
    EXPECT_EQ(m_state.BillDenomination(2), 10000);
    EXPECT_EQ(m_state.LowStockThreshold(1), 15);

    EXPECT_TRUE(m_hookCalls.empty()) << "the serial dispenser is already in use";
    for (const int32_t driver : {1, 2, 0}) {
        config.dispenserDriver = driver;
        m_state.OnKioskConfig(config);
    }
    EXPECT_EQ(m_hookCalls, (std::vector<std::string>{"library", "serial"}));
}

TEST_F(KioskSettingsState, OptionsReachTheMovieOnTheFirstRecordAndOnEachChange) {
    m_state.OnKioskOptions(Options(1, 0, 1));
    EXPECT_EQ(TakeMovie(),
              (std::vector<std::string>{"UseKiosk;1", "EnablePayType;Credit", "EnableSound;0"}));
    m_state.OnKioskOptions(Options(1, 0, 1));
    EXPECT_TRUE(m_movie.empty());
    m_state.OnKioskOptions(Options(2, 1, 1));
    m_state.OnKioskOptions(Options(3, 1, 1));
    EXPECT_EQ(TakeMovie(), (std::vector<std::string>{"EnablePayType;All", "EnableSound;1"}))
        << "2 and 3 both mean both";
    m_state.OnKioskOptions(Options(0, 1, 0));
    EXPECT_EQ(TakeMovie(), (std::vector<std::string>{"UseKiosk;0", "EnablePayType;Cash"}));
    EXPECT_EQ(m_hookCalls.size(), 4u) << "card payment on in four of the five records";
}

TEST_F(KioskSettingsState, InitKioskAnswerNamesPayTypesSoundAndStayTypesThenTheServiceState) {
    m_state.AnswerInitKiosk();
    EXPECT_EQ(TakeMovie(), (std::vector<std::string>{"InitKiosk;Cash||0||All"}))
        << "nothing known of the service state before the first options";
    stKioskConfig config;
    config.sleepRestricted = 1;
    config.sleepStartHour = 20;
    config.sleepEndHour = 23;
    m_state.OnKioskConfig(config);
    m_state.OnKioskOptions(Options(2, 1, 1));
    SetLocalTime(12, 0, 0);
    m_state.CheckSaleTypeAndHour();
    TakeMovie();
    m_state.AnswerInitKiosk();
    EXPECT_EQ(TakeMovie(), (std::vector<std::string>{"InitKiosk;All||1||Rental", "UseKiosk;1"}));

    // A page loaded while the kiosk is out of service must hear it.
    m_state.OnKioskOptions(Options(2, 1, 0));
    TakeMovie();
    m_state.AnswerInitKiosk();
    EXPECT_EQ(TakeMovie(), (std::vector<std::string>{"InitKiosk;All||1||Rental", "UseKiosk;0"}));
}

}  // namespace

}  // namespace hx
