#include "tools/vcatsim/terminal_console.h"

#include <algorithm>
#include <optional>

#include "tools/common/console_words.h"
#include "tools/common/whole_number.h"

namespace hx {

namespace {

constexpr size_t kMaxStateLength = 8;
constexpr size_t kMaxStates = 16;
constexpr size_t kMaxQueued = 1000;

bool IsCodeWord(const std::string& word, size_t longest) {
    return !word.empty() && word.size() <= longest &&
           std::all_of(word.begin(), word.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
           });
}

std::string Joined(const std::vector<std::string>& words, size_t from) {
    std::string text;
    for (size_t i = from; i < words.size(); ++i) {
        text += (text.empty() ? "" : " ") + words[i];
    }
    return text;
}

// The outcome that "next" names; nullopt when the words do not make one.
std::optional<stOutcome> OutcomeOf(const std::vector<std::string>& words) {
    static const std::pair<const char*, enumOutcome> kPlain[] = {
        {"approve", enumOutcome::Approve},
        {"fallback", enumOutcome::Fallback},
        {"silent", enumOutcome::Silent},
    };
    stOutcome outcome;
    const std::string& kind = words.size() >= 2 ? words[1] : std::string();
    for (const auto& [name, plain] : kPlain) {
        if (words.size() == 2 && kind == name) {
            outcome.kind = plain;
            return outcome;
        }
    }
    if (words.size() >= 4 && kind == "decline" && IsCodeWord(words[2], 2)) {
        outcome.kind = enumOutcome::Decline;
        outcome.code = words[2];
        outcome.message = Joined(words, 3);
        return outcome;
    }
    int64_t code = 0;
    if (words.size() == 3 && kind == "exit" &&
        ParseWholeNumber(words[2], INT32_MIN, INT32_MAX, code)) {
        outcome.kind = enumOutcome::Exit;
        outcome.exitCode = static_cast<int32_t>(code);
        return outcome;
    }
    return std::nullopt;
}

// Text from the wire, one line of the ledger's reply: a control character in
// it must not start a line of its own, which a harness would take for a reply.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; }, '?');
    return text;
}

const char kUsage[] = "error: say next|states|info|ledger|status|quit";

}  // namespace

std::string CTerminalConsole::Execute(std::string_view line) {
    const std::vector<std::string> words = SplitWords(line);
    if (words.empty()) {
        return kUsage;
    }
    const std::string& verb = words[0];
    if (verb == "next") {
        return Next(words);
    }
    if (verb == "states") {
        return States(words);
    }
    if (verb == "info") {
        return Info(words);
    }
    if (words.size() == 1 && verb == "status") {
        return Status();
    }
    if (words.size() == 1 && verb == "ledger") {
        return Ledger();
    }
    if (words.size() == 1 && verb == "quit") {
        m_quit = true;
        return "ok quitting";
    }
    return kUsage;
}

std::string CTerminalConsole::Next(const std::vector<std::string>& words) {
    const std::optional<stOutcome> outcome = OutcomeOf(words);
    if (!outcome) {
        return "error: next approve|decline CODE MESSAGE|fallback|silent|exit CODE";
    }
    if (m_terminal.QueuedOutcomes() >= kMaxQueued) {
        return "error: " + std::to_string(kMaxQueued) + " outcomes already queued";
    }
    m_terminal.QueueOutcome(*outcome);
    return "ok next " + Joined(words, 1) + " (queued " +
           std::to_string(m_terminal.QueuedOutcomes()) + ")";
}

std::string CTerminalConsole::States(const std::vector<std::string>& words) {
    if (words.size() == 2 && words[1] == "none") {
        m_terminal.SetStates({});
        return "ok states none";
    }
    const std::vector<std::string> states(words.begin() + 1, words.end());
    const bool valid = !states.empty() && states.size() <= kMaxStates &&
                       std::all_of(states.begin(), states.end(), [](const std::string& state) {
                           return IsCodeWord(state, kMaxStateLength);
                       });
    if (!valid) {
        return "error: states CODE... (up to 16) | states none";
    }
    m_terminal.SetStates(states);
    return "ok states " + Joined(words, 1);
}

std::string CTerminalConsole::Info(const std::vector<std::string>& words) {
    if (words.size() == 2 && (words[1] == "on" || words[1] == "off")) {
        m_terminal.SetInfoMode(words[1] == "on" ? enumInfoMode::Answer : enumInfoMode::Refuse);
        return "ok info " + words[1];
    }
    if (words.size() <= 3 && words.size() >= 2 && words[1] == "terminal" &&
        (words.size() == 2 || IsCodeWord(words[2], 16))) {
        const std::string terminalNo = words.size() == 3 ? words[2] : std::string();
        m_terminal.SetTerminalNo(terminalNo);
        m_terminal.SetInfoMode(enumInfoMode::Answer);
        return "ok info terminal " + (terminalNo.empty() ? "(empty)" : terminalNo);
    }
    return "error: info on|off|terminal [NUMBER]";
}

std::string CTerminalConsole::Status() const {
    const CChargeLedger& ledger = m_terminal.Ledger();
    std::string states = Joined(m_terminal.States(), 0);
    std::replace(states.begin(), states.end(), ' ', ',');
    const std::string& terminalNo = m_terminal.Info().terminalNo;
    return "ok approvals=" + std::to_string(ledger.Charges().size()) +
           " cancels=" + std::to_string(ledger.CancelCount()) +
           " queued=" + std::to_string(m_terminal.QueuedOutcomes()) +
           " states=" + (states.empty() ? "none" : states) +
           " info=" + (m_terminal.InfoMode() == enumInfoMode::Answer ? "on" : "off") +
           " terminal=" + (terminalNo.empty() ? "(empty)" : terminalNo);
}

std::string CTerminalConsole::Ledger() const {
    const std::vector<stCharge>& charges = m_terminal.Ledger().Charges();
    std::string reply = "ok ledger " + std::to_string(charges.size());
    for (const stCharge& charge : charges) {
        reply += "\n  " + charge.approvalNo + " " + OneLine(charge.amount) + " " + charge.date +
                 " " + charge.time + " " + ChargeStateName(charge);
    }
    return reply;
}

}  // namespace hx
