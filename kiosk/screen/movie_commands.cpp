#include "kiosk/screen/movie_commands.h"

#include <utility>
#include <vector>

#include "kiosk/screen/shockwave_flash.h"
#include "kiosk/support/outside_text.h"

namespace hx {

namespace {

constexpr std::string_view kTrue = "true";

enumTouchedButton TouchedButtonOf(std::string_view args) {
    if (args == "MoveBtn") {
        return enumTouchedButton::Move;
    }
    if (args == "PreBtn") {
        return enumTouchedButton::Previous;
    }
    if (args == "HomeBtn") {
        return enumTouchedButton::Home;
    }
    return enumTouchedButton::Other;
}

}  // namespace

CMovieCommandDispatcher::CMovieCommandDispatcher(CMovieCommandHandler& handler, LogSink log)
    : m_handler(handler), m_log(std::move(log)) {}

bool CMovieCommandDispatcher::Dispatch(const std::string& command, const std::string& args) {
    if (command == kInitKioskCommand) {
        m_handler.OnInitKiosk();
    } else if (command == "SetHome") {
        return SetHome(args);
    } else if (command == "SetRoomData") {
        m_handler.OnSetRoomData();
    } else if (command == "SelectRoom") {
        m_handler.OnSelectRoom(args);
    } else if (command == "SelectCheckInType") {
        return SelectCheckInType(args);
    } else if (command == "SetPay") {
        return SetPay(args);
    } else if (command == "MakeTicket") {
        return MakeTicket(args);
    } else if (command == "ReturnRecvMoney") {
        m_handler.OnReturnRecvMoney();
    } else if (command == "PopupConfig") {
        m_handler.OnPopupConfig();
    } else if (command == "TouchScreen") {
        m_handler.OnTouchScreen(TouchedButtonOf(args));
    } else {
        m_log("알 수 없는 화면 명령 무시: " + CutOutsideText(command));
        return false;
    }
    return true;
}

bool CMovieCommandDispatcher::SetHome(const std::string& args) {
    const std::vector<std::string> values = SplitMovieArguments(args);
    if (values.size() < 2) {
        LogShortCommand("SetHome", values.size(), 2, "선택 유지");
        m_handler.OnSetHome(std::nullopt);
        return true;
    }
    m_handler.OnSetHome(values[1] == kTrue);
    return true;
}

bool CMovieCommandDispatcher::SelectCheckInType(const std::string& args) {
    const std::vector<std::string> values = SplitMovieArguments(args);
    if (values.size() < 2) {
        LogShortCommand("SelectCheckInType", values.size(), 2, "방 번호 없음");
        m_handler.OnSelectCheckInType(std::nullopt, args);
        return true;
    }
    m_handler.OnSelectCheckInType(ParseMovieRoomNumber(values[1]), args);
    return true;
}

bool CMovieCommandDispatcher::SetPay(const std::string& args) {
    const std::vector<std::string> values = SplitMovieArguments(args);
    if (values.size() < 4) {
        LogShortCommand("SetPay", values.size(), 4, "무시");
        return false;
    }
    m_handler.OnSetPay({ParseMovieNumber(values[0]), values[1] == kTrue,
                        ParseMovieNumber(values[2]), values[3] == kTrue});
    return true;
}

bool CMovieCommandDispatcher::MakeTicket(const std::string& args) {
    const std::vector<std::string> values = SplitMovieArguments(args);
    if (values.size() < 3) {
        LogShortCommand("MakeTicket", values.size(), 4, "무시");
        return false;
    }
    stTicketOrder order{ParseMovieNumber(values[0]), values[1] == kTrue, values[2] == kTrue,
                        std::nullopt};
    if (values.size() < 4) {
        LogShortCommand("MakeTicket", values.size(), 4, "판매 요청 안 함");
    } else {
        order.amount = ParseMovieNumber(values[3]);
    }
    m_handler.OnMakeTicket(order);
    return true;
}

void CMovieCommandDispatcher::LogShortCommand(std::string_view command, std::size_t values,
                                              std::size_t needed, std::string_view outcome) {
    m_log("화면 명령 " + std::string(command) + " 값 부족 (" + std::to_string(needed) + "개 중 " +
          std::to_string(values) + "개): " + std::string(outcome));
}

}  // namespace hx
