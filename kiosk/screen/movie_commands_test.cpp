#include "kiosk/screen/movie_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hx {

namespace {

// Writes down every call as one line, so a test reads like the calls it expects.
class CRecordingHandler : public CMovieCommandHandler {
public:
    std::vector<std::string> calls;

    void OnInitKiosk() override { calls.push_back("InitKiosk"); }
    void OnSetHome(std::optional<bool> forget) override {
        calls.push_back("SetHome " + Flag(forget, "forget", "keep"));
    }
    void OnSetRoomData() override { calls.push_back("SetRoomData"); }
    void OnSelectRoom(const std::string& text) override { calls.push_back("SelectRoom " + text); }
    void OnSelectCheckInType(std::optional<int> room, const std::string& text) override {
        calls.push_back("SelectCheckInType " + Number(room) + " " + text);
    }
    void OnSetPay(const stPayChoice& choice) override {
        calls.push_back("SetPay " + std::to_string(choice.roomNumber) + " " +
                        (choice.dayUse ? "day" : "night") + " " + std::to_string(choice.price) +
                        " " + (choice.cash ? "cash" : "card"));
    }
    void OnMakeTicket(const stTicketOrder& order) override {
        calls.push_back("MakeTicket " + std::to_string(order.roomNumber) + " " +
                        (order.dayUse ? "day" : "night") + " " + (order.cash ? "cash" : "card") +
                        " " + Number(order.amount));
    }
    void OnReturnRecvMoney() override { calls.push_back("ReturnRecvMoney"); }
    void OnPopupConfig() override { calls.push_back("PopupConfig"); }
    void OnTouchScreen(enumTouchedButton button) override {
        static const char* const kNames[] = {"Move", "Previous", "Home", "Other"};
        calls.push_back(std::string("TouchScreen ") + kNames[static_cast<int>(button)]);
    }

private:
    static std::string Flag(std::optional<bool> value, const char* yes, const char* no) {
        return value ? (*value ? yes : no) : "-";
    }
    static std::string Number(std::optional<int> value) {
        return value ? std::to_string(*value) : "-";
    }
};

class MovieCommands : public ::testing::Test {
protected:
    // The calls one command makes, and whether the dispatcher took it.
    std::vector<std::string> CallsOf(const std::string& command, const std::string& args,
                                     bool* taken = nullptr) {
        m_handler.calls.clear();
        const bool result = m_dispatcher.Dispatch(command, args);
        if (taken != nullptr) {
            *taken = result;
        }
        return m_handler.calls;
    }
    using Calls = std::vector<std::string>;

    CRecordingHandler m_handler;
    std::vector<std::string> m_log;
    CMovieCommandDispatcher m_dispatcher{
        m_handler, [this](std::string_view line) { m_log.emplace_back(line); }};
};

TEST_F(MovieCommands, EachCommandReachesItsMethodWithItsValues) {
    EXPECT_EQ(CallsOf("InitKiosk", ""), Calls{"InitKiosk"});
    EXPECT_EQ(CallsOf("SetRoomData", ""), Calls{"SetRoomData"});
    EXPECT_EQ(CallsOf("ReturnRecvMoney", ""), Calls{"ReturnRecvMoney"});
    EXPECT_EQ(CallsOf("PopupConfig", ""), Calls{"PopupConfig"});
    EXPECT_EQ(CallsOf("SelectRoom", "스위트||305||"), Calls{"SelectRoom 스위트||305||"});

    EXPECT_EQ(CallsOf("SetHome", "305||true"), Calls{"SetHome forget"});
    EXPECT_EQ(CallsOf("SetHome", "305||false"), Calls{"SetHome keep"});
    EXPECT_EQ(CallsOf("SetHome", "305||True"), Calls{"SetHome keep"});
    // Empty values are not values: "true" is still the second one.
    EXPECT_EQ(CallsOf("SetHome", "12||||true"), Calls{"SetHome forget"});

    EXPECT_EQ(CallsOf("SelectCheckInType", "Sleep|| 1,203 "),
              Calls{"SelectCheckInType 1203 Sleep|| 1,203 "});

    EXPECT_EQ(CallsOf("SetPay", "305||true||25000||false"), Calls{"SetPay 305 day 25000 card"});
    EXPECT_EQ(CallsOf("SetPay", " 305||||false||  40000원||true"),
              Calls{"SetPay 305 night 40000 cash"});
    EXPECT_EQ(CallsOf("MakeTicket", "305||false||true||40000"),
              Calls{"MakeTicket 305 night cash 40000"});
    // Room numbers of SetPay and MakeTicket are plain numbers: the comma ends them.
    EXPECT_EQ(CallsOf("MakeTicket", "1,203||true||false||1,000"), Calls{"MakeTicket 1 day card 1"});

    EXPECT_EQ(CallsOf("TouchScreen", "MoveBtn"), Calls{"TouchScreen Move"});
    EXPECT_EQ(CallsOf("TouchScreen", "PreBtn"), Calls{"TouchScreen Previous"});
    EXPECT_EQ(CallsOf("TouchScreen", "HomeBtn"), Calls{"TouchScreen Home"});
    EXPECT_EQ(CallsOf("TouchScreen", "RoomBtn3"), Calls{"TouchScreen Other"});
    EXPECT_EQ(CallsOf("TouchScreen", "movebtn"), Calls{"TouchScreen Other"});
    EXPECT_TRUE(m_log.empty());
}

TEST_F(MovieCommands, CommandsShortOfValuesAreDroppedOrCutShortAndLogged) {
    bool taken = true;
    EXPECT_EQ(CallsOf("SetPay", "305||true||25000", &taken), Calls{});
    EXPECT_FALSE(taken);
    EXPECT_EQ(CallsOf("SetPay", "305||||true||||25000||", &taken), Calls{});
    EXPECT_EQ(CallsOf("MakeTicket", "305||true", &taken), Calls{});
    EXPECT_FALSE(taken);
    EXPECT_EQ(m_log.size(), 3u);

    // Handled up to the missing value.
    EXPECT_EQ(CallsOf("MakeTicket", "305||true||true", &taken), Calls{"MakeTicket 305 day cash -"});
    EXPECT_TRUE(taken);
    EXPECT_EQ(CallsOf("SetHome", "305"), Calls{"SetHome -"});
    EXPECT_EQ(CallsOf("SetHome", ""), Calls{"SetHome -"});
    EXPECT_EQ(CallsOf("SelectCheckInType", "Sleep||"), Calls{"SelectCheckInType - Sleep||"});
    EXPECT_EQ(m_log.size(), 7u);
    EXPECT_EQ(m_log[0], "화면 명령 SetPay 값 부족 (4개 중 3개): 무시");
    EXPECT_EQ(m_log[3], "화면 명령 MakeTicket 값 부족 (4개 중 3개): 판매 요청 안 함");
}

TEST_F(MovieCommands, UnknownNamesAreLoggedAndIgnored) {
    bool taken = true;
    for (const std::string& name : {std::string("initkiosk"), std::string("SetPay "),
                                    std::string(""), std::string("SetRecvMoney")}) {
        EXPECT_EQ(CallsOf(name, "305||true||25000||true", &taken), Calls{}) << name;
        EXPECT_FALSE(taken);
    }
    ASSERT_EQ(m_log.size(), 4u);
    EXPECT_EQ(m_log[0], "알 수 없는 화면 명령 무시: initkiosk");

    // A name of any length leaves a line of bounded length, cut between characters.
    std::string longName;
    for (int i = 0; i < 1000; ++i) {
        longName += "객";  // two bytes in CP949, three in UTF-8
    }
    CallsOf(longName, "");
    EXPECT_EQ(m_log.back(), "알 수 없는 화면 명령 무시: " + longName.substr(0, 256 * 3) +
                                "...(잘림, 전체 2000바이트)");
}

}  // namespace

}  // namespace hx
