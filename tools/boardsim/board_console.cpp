#include "tools/boardsim/board_console.h"

#include <optional>

#include "tools/boardsim/command_line.h"
#include "tools/common/console_words.h"
#include "tools/common/whole_number.h"

namespace hx {

namespace {

std::optional<enumBoardUnit> UnitByName(const std::string& name) {
    static const std::pair<const char*, enumBoardUnit> kUnits[] = {
        {"bill", enumBoardUnit::BillAcceptor},     {"coin", enumBoardUnit::CoinSelector},
        {"hopper", enumBoardUnit::Hopper},         {"dispenser1", enumBoardUnit::Dispenser1},
        {"dispenser2", enumBoardUnit::Dispenser2},
    };
    for (const auto& [unitName, unit] : kUnits) {
        if (name == unitName) {
            return unit;
        }
    }
    return std::nullopt;
}

std::string JoinCounts(std::span<const int> values, std::span<const int> counts) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        text += " " + std::to_string(values[i]) + "=" + std::to_string(counts[i]);
    }
    return text;
}

const char kUsage[] = "error: say bill|coin|door|fault|low|stock|misbehave|status|quit";

}  // namespace

std::string CBoardConsole::Execute(std::string_view line) {
    const std::vector<std::string> words = SplitWords(line);
    if (words.empty()) {
        return kUsage;
    }
    const std::string& verb = words[0];
    if (verb == "bill" || verb == "coin") {
        return Insert(words);
    }
    if (verb == "door") {
        return Door(words);
    }
    if (verb == "fault" || verb == "low") {
        return Fault(words);
    }
    if (verb == "stock") {
        return Stock(words);
    }
    if (verb == "misbehave") {
        return Misbehave(words);
    }
    if (verb == "status" && words.size() == 1) {
        return Status();
    }
    if (verb == "quit" && words.size() == 1) {
        m_quit = true;
        return "ok quitting";
    }
    return kUsage;
}

std::string CBoardConsole::Insert(const std::vector<std::string>& words) {
    const std::optional<int> value =
        words.size() == 2 ? ParseBoundedInt(words[1], 0, 50000) : std::nullopt;
    if (!value) {
        return "error: " + words[0] + " VALUE";
    }
    const bool isBill = words[0] == "bill";
    std::string refusal;
    if (!(isBill ? m_board.InsertBill(*value, refusal) : m_board.InsertCoin(*value, refusal))) {
        return "error: refused: " + refusal;
    }
    const stBoardState& state = m_board.State();
    return isBill ? "ok bills" + JoinCounts(kBillValues, state.bills)
                  : "ok coins" + JoinCounts(kCoinValues, state.coins);
}

std::string CBoardConsole::Door(const std::vector<std::string>& words) {
    static const std::pair<const char*, uint8_t> kCodes[] = {
        {"open", kDoorOpenGreeting}, {"open-quiet", kDoorOpenQuiet}, {"close", kDoorClosed}};
    for (const auto& [name, code] : kCodes) {
        if (words.size() == 2 && words[1] == name) {
            m_board.SetDoor(code);
            return "ok door " + words[1];
        }
    }
    return "error: door open|open-quiet|close";
}

std::string CBoardConsole::Fault(const std::vector<std::string>& words) {
    const std::optional<enumBoardUnit> unit =
        words.size() == 3 ? UnitByName(words[1]) : std::nullopt;
    const std::optional<bool> on = words.size() == 3 ? OnOff(words[2]) : std::nullopt;
    if (words[0] == "fault" && unit && on) {
        m_board.SetFault(*unit, *on);
        return "ok fault " + words[1] + " " + words[2];
    }
    if (words[0] == "low" && unit && on && m_board.SetLow(*unit, *on)) {
        return "ok low " + words[1] + " " + words[2];
    }
    return words[0] == "fault" ? "error: fault bill|coin|hopper|dispenser1|dispenser2 on|off"
                               : "error: low dispenser1|dispenser2 on|off";
}

std::string CBoardConsole::Stock(const std::vector<std::string>& words) {
    const std::optional<enumBoardUnit> unit =
        words.size() == 3 ? UnitByName(words[1]) : std::nullopt;
    const std::optional<int> count =
        words.size() == 3 ? ParseBoundedInt(words[2], 0, 100000) : std::nullopt;
    if (unit && count && m_board.SetStock(*unit, *count)) {
        return "ok stock " + words[1] + " " + words[2];
    }
    return "error: stock hopper|dispenser1|dispenser2 COUNT";
}

std::string CBoardConsole::Misbehave(const std::vector<std::string>& words) {
    const std::optional<int> times =
        words.size() == 3 ? ParseBoundedInt(words[2], 0, 1000) : std::optional<int>(1);
    if ((words.size() == 2 || words.size() == 3) && times) {
        if (words[1] == "silent") {
            m_board.Silence(*times);
            return "ok misbehave silent " + std::to_string(*times);
        }
        if (const auto kind = MisbehaviourByName(words[1])) {
            m_outbox.Misbehave(*kind, *times);
            return "ok misbehave " + words[1] + " " + std::to_string(*times);
        }
    }
    return "error: misbehave silent|merge|bad-bcc|split [TIMES]";
}

std::string CBoardConsole::Status() const {
    const stBoardState& state = m_board.State();
    return "ok bill-inlet=" + std::string(state.billInletOpen ? "open" : "closed") +
           " coin-inlet=" + (state.coinInletOpen ? "open" : "closed") +
           " door=" + (state.door == kDoorClosed ? "closed" : "open") + " bills" +
           JoinCounts(kBillValues, state.bills) + " coins" + JoinCounts(kCoinValues, state.coins) +
           " hopper=" + std::to_string(state.hopperStock) +
           " dispenser1=" + std::to_string(state.dispenser1.denomination) + "x" +
           std::to_string(state.dispenser1.stock) +
           " dispenser2=" + std::to_string(state.dispenser2.denomination) + "x" +
           std::to_string(state.dispenser2.stock);
}

}  // namespace hx
