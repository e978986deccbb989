// Any bytes as a page frame and as the argument text of every movie command:
// frames are read or refused with a reason, and whatever the dispatcher hands
// on keeps the rules of the values (no empty values, no negative numbers,
// nothing past the missing value). Requests built back never carry a bare "<"
// in their text, and invoke frames always stay readable JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "fuzz/fuzz_require.h"
#include "kiosk/screen/movie_commands.h"
#include "kiosk/screen/shockwave_flash.h"
#include "platform/movie_host.h"

namespace hx {

namespace {

class CCheckingHandler : public CMovieCommandHandler {
public:
    void OnInitKiosk() override {}
    void OnSetHome(std::optional<bool>) override {}
    void OnSetRoomData() override {}
    void OnSelectRoom(const std::string&) override {}
    void OnSelectCheckInType(std::optional<int> roomNumber, const std::string&) override {
        Require(!roomNumber || *roomNumber >= 0);
    }
    void OnSetPay(const stPayChoice& choice) override {
        Require(choice.roomNumber >= 0 && choice.price >= 0);
    }
    void OnMakeTicket(const stTicketOrder& order) override {
        Require(order.roomNumber >= 0 && (!order.amount || *order.amount >= 0));
    }
    void OnReturnRecvMoney() override {}
    void OnPopupConfig() override {}
    void OnTouchScreen(enumTouchedButton) override {}
};

constexpr std::string_view kCommands[] = {
    "InitKiosk",  "SetHome",         "SetRoomData", "SelectRoom",  "SelectCheckInType", "SetPay",
    "MakeTicket", "ReturnRecvMoney", "PopupConfig", "TouchScreen", "NoSuchName",
};

void CheckRequest(std::string_view args) {
    const std::string request = BuildReceiveScriptRequest("Cmd", args);
    const std::string_view head =
        R"(<invoke name="ReceiveScript" returntype="xml"><arguments><string>Cmd;)";
    const std::string_view tail = "</string></arguments></invoke>";
    Require(request.starts_with(head) && request.ends_with(tail));
    const std::string_view text =
        std::string_view(request).substr(head.size(), request.size() - head.size() - tail.size());
    Require(text.find('<') == std::string_view::npos);
    Require(text.size() <= args.size() * 6);
}

void CheckInvokeFrame(std::string_view request) {
    const nlohmann::json frame = nlohmann::json::parse(BuildInvokeFrame(request), nullptr, false);
    Require(frame.is_object() && frame.contains("invoke") && frame["invoke"].is_string());
}

}  // namespace

}  // namespace hx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    const std::string input(reinterpret_cast<const char*>(data), size);
    CCheckingHandler handler;
    CMovieCommandDispatcher dispatcher(
        handler, [](std::string_view line) { Require(!line.empty() && line.size() < 512); });

    std::string problem;
    if (const std::optional<stPageCommand> command = ParsePageFrame(input, problem)) {
        dispatcher.Dispatch(command->command, command->args);
    } else {
        Require(!problem.empty());
    }
    for (std::string_view name : kCommands) {
        dispatcher.Dispatch(std::string(name), input);
    }
    dispatcher.Dispatch(input, "305||true||25000||true");

    for (const std::string& value : SplitMovieArguments(input)) {
        Require(!value.empty() && value.find("||") == std::string::npos);
    }
    Require(ParseMovieNumber(input) >= 0 && ParseMovieRoomNumber(input) >= 0);
    CheckRequest(input);
    CheckInvokeFrame(input);
    return 0;
}
