#include "tools/dispsim/dispenser_console.h"

#include <optional>

#include "tools/common/console_words.h"
#include "tools/common/whole_number.h"

namespace hx {

namespace {

std::optional<enumDispenserFault> FaultByName(const std::string& name) {
    static const std::pair<const char*, enumDispenserFault> kFaults[] = {
        {"empty", enumDispenserFault::Empty},
        {"jam", enumDispenserFault::Jam},
        {"hold", enumDispenserFault::Hold},
    };
    for (const auto& [faultName, fault] : kFaults) {
        if (name == faultName) {
            return fault;
        }
    }
    return std::nullopt;
}

// A result character as typed: one printable character, so a test can also
// send one the kiosk does not know.
std::optional<uint8_t> ResultCharacter(const std::string& word) {
    if (word.size() != 1 || word[0] <= ' ' || word[0] >= 0x7F) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(word[0]);
}

const char kUsage[] =
    "error: say status|cards|fault|misbehave|reject-write|status-code|issued|quit";

}  // namespace

std::string CDispenserConsole::Execute(std::string_view line) {
    const std::vector<std::string> words = SplitWords(line);
    if (words.empty()) {
        return kUsage;
    }
    const std::string& verb = words[0];
    if (verb == "cards") {
        return Cards(words);
    }
    if (verb == "fault") {
        return Fault(words);
    }
    if (verb == "misbehave") {
        return Misbehave(words);
    }
    if (verb == "reject-write") {
        return RejectWrite(words);
    }
    if (verb == "status-code") {
        return StatusCode(words);
    }
    if (words.size() == 1 && verb == "status") {
        return Status();
    }
    if (words.size() == 1 && verb == "issued") {
        return Issued();
    }
    if (words.size() == 1 && verb == "quit") {
        m_quit = true;
        return "ok quitting";
    }
    return kUsage;
}

std::string CDispenserConsole::Cards(const std::vector<std::string>& words) {
    const std::optional<int> count =
        words.size() == 2 ? ParseBoundedInt(words[1], 0, 100000) : std::nullopt;
    if (!count) {
        return "error: cards COUNT";
    }
    m_dispenser.SetStack(*count);
    return "ok cards " + words[1];
}

std::string CDispenserConsole::Fault(const std::vector<std::string>& words) {
    const std::optional<enumDispenserFault> fault =
        words.size() == 3 ? FaultByName(words[1]) : std::nullopt;
    const std::optional<bool> on = words.size() == 3 ? OnOff(words[2]) : std::nullopt;
    if (!fault || !on) {
        return "error: fault empty|jam|hold on|off";
    }
    m_dispenser.SetFault(*fault, *on);
    return "ok fault " + words[1] + " " + words[2];
}

std::string CDispenserConsole::Misbehave(const std::vector<std::string>& words) {
    const std::optional<int> times =
        words.size() == 3 ? ParseBoundedInt(words[2], 0, 1000) : std::optional<int>(1);
    const std::optional<enumAnswerFault> fault =
        words.size() == 2 || words.size() == 3 ? AnswerFaultByName(words[1]) : std::nullopt;
    if (!fault || !times) {
        return "error: misbehave silent|bad-bcc|wrong-cmd [TIMES]";
    }
    m_dispenser.Misbehave(*fault, *times);
    return "ok misbehave " + words[1] + " " + std::to_string(*times);
}

std::string CDispenserConsole::RejectWrite(const std::vector<std::string>& words) {
    const std::optional<int> block =
        words.size() == 3 ? ParseBoundedInt(words[1], 0, 3) : std::nullopt;
    const std::optional<uint8_t> result =
        words.size() == 3 ? ResultCharacter(words[2]) : std::nullopt;
    if (!block || !result) {
        return "error: reject-write BLOCK(0-3) RESULT-CHARACTER";
    }
    m_dispenser.RejectWrite(*block, *result);
    return "ok reject-write " + words[1] + " " + words[2];
}

std::string CDispenserConsole::StatusCode(const std::vector<std::string>& words) {
    if (words.size() == 2 && words[1] == "auto") {
        m_dispenser.SetStatusCode(std::nullopt);
        return "ok status-code auto";
    }
    const std::optional<uint8_t> result =
        words.size() == 2 ? ResultCharacter(words[1]) : std::nullopt;
    if (!result) {
        return "error: status-code RESULT-CHARACTER|auto";
    }
    m_dispenser.SetStatusCode(result);
    return "ok status-code " + words[1];
}

std::string CDispenserConsole::Status() const {
    const stDispenserState& state = m_dispenser.State();
    std::string faults;
    for (const auto& [on, name] : {std::pair{state.empty, "empty"}, std::pair{state.jam, "jam"},
                                   std::pair{state.hold, "hold"}}) {
        if (on) {
            faults += (faults.empty() ? "" : ",") + std::string(name);
        }
    }
    return "ok cards=" + std::to_string(state.stack) +
           " mouth=" + (state.cardInMouth ? "card" : "empty") +
           " faults=" + (faults.empty() ? "none" : faults) +
           " status-code=" + (state.statusCode ? std::string(1, *state.statusCode) : "auto") +
           " issued=" + std::to_string(state.issued) +
           " captured=" + std::to_string(state.captured);
}

std::string CDispenserConsole::Issued() const {
    std::string reply = "ok issued " + std::to_string(m_dispenser.Issued().size());
    for (const stIssuedCard& card : m_dispenser.Issued()) {
        reply += "\n  " + IssuedCardText(card);
    }
    return reply;
}

}  // namespace hx
