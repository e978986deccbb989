#pragma once
// The movie's commands, read into values and handed to the kiosk window one
// method per command. Names are compared exactly; an unknown command is
// logged and ignored. A command that lacks values is logged; whether it is
// dropped or handled in part is said at each method.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "kiosk/support/daily_log.h"

namespace hx {

enum class enumTouchedButton { Move, Previous, Home, Other };

// SetPay: the guest's choice of room, stay and payment.
struct stPayChoice {
    int roomNumber = 0;
    bool dayUse = false;  // "true": day use, otherwise overnight
    int price = 0;
    bool cash = false;  // "true": cash, otherwise card
};

// MakeTicket: the sale to request from the server.
struct stTicketOrder {
    int roomNumber = 0;
    bool dayUse = false;
    bool cash = false;
    std::optional<int> amount;  // empty when the movie left it out
};

class CMovieCommandHandler {
public:
    virtual ~CMovieCommandHandler() = default;

    virtual void OnInitKiosk() = 0;
    // Empty when the value is missing: the home steps before it run, the
    // steps from clearing the selection on are skipped.
    virtual void OnSetHome(std::optional<bool> forgetSelection) = 0;
    virtual void OnSetRoomData() = 0;
    // The whole argument text, as the server is told it.
    virtual void OnSelectRoom(const std::string& text) = 0;
    // Empty room number when it is missing: the steps before taking it run,
    // the rest is skipped. `text` is the whole argument text.
    virtual void OnSelectCheckInType(std::optional<int> roomNumber, const std::string& text) = 0;
    // Only with all four values.
    virtual void OnSetPay(const stPayChoice& choice) = 0;
    // With at least three values; without the amount the three are stored
    // and no sale is requested.
    virtual void OnMakeTicket(const stTicketOrder& order) = 0;
    virtual void OnReturnRecvMoney() = 0;
    virtual void OnPopupConfig() = 0;
    virtual void OnTouchScreen(enumTouchedButton button) = 0;
};

class CMovieCommandDispatcher {
public:
    using LogSink = std::function<void(std::string_view utf8Line)>;

    explicit CMovieCommandDispatcher(CMovieCommandHandler& handler, LogSink log = HXKioskLog);

    // On the user interface thread. False for an unknown command and for one
    // dropped for want of values.
    bool Dispatch(const std::string& command, const std::string& args);

private:
    bool SetHome(const std::string& args);
    bool SelectCheckInType(const std::string& args);
    bool SetPay(const std::string& args);
    bool MakeTicket(const std::string& args);
    void LogShortCommand(std::string_view command, std::size_t values, std::size_t needed,
                         std::string_view outcome);

    CMovieCommandHandler& m_handler;
    const LogSink m_log;
};

}  // namespace hx
