#pragma once
// The terminal program's behaviour, without its socket: what each request
// gets, as a script of outcomes set from the console decides, and the books
// of what was charged. Everything it does goes to the event sink.

#include <deque>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/terminal_frames.h"
#include "tools/vcatsim/charge_ledger.h"
#include "tools/vcatsim/terminal_answers.h"

namespace hx {

enum class enumOutcome {
    Approve,
    Decline,   // response code and screen message, no approval number
    Fallback,  // asks for the magnetic stripe ("1M"), then approves
    Silent,    // takes the request and never answers
    Exit,      // the program ends: an exit frame, then the connection closes
};

struct stOutcome {
    enumOutcome kind = enumOutcome::Approve;
    std::string code;      // Decline
    std::string message;   // Decline
    int32_t exitCode = 0;  // Exit
};

enum class enumInfoMode { Answer, Refuse };

// What goes back on the connection of one request, in order.
struct stTerminalTurn {
    std::vector<stTerminalFrame> frames;
    bool keepOpen = false;  // silent: the kiosk is left waiting until it gives up
};

class CCardTerminal {
public:
    using EventSink = std::function<void(nlohmann::json)>;

    explicit CCardTerminal(EventSink events, stMerchantInfo info = {});

    stTerminalTurn Handle(const stTerminalFrame& request, const stSaleTime& now);

    // What the approvals after those already queued do; unqueued ones approve.
    void QueueOutcome(const stOutcome& outcome) { m_outcomes.push_back(outcome); }
    // The progress states sent before each approval or cancel answer.
    void SetStates(std::vector<std::string> states) { m_states = std::move(states); }
    void SetTerminalNo(const std::string& terminalNo) { m_info.terminalNo = terminalNo; }
    void SetInfoMode(enumInfoMode mode) { m_infoMode = mode; }

    const CChargeLedger& Ledger() const { return m_ledger; }
    const std::vector<std::string>& States() const { return m_states; }
    size_t QueuedOutcomes() const { return m_outcomes.size(); }
    const stMerchantInfo& Info() const { return m_info; }
    enumInfoMode InfoMode() const { return m_infoMode; }

private:
    stTerminalTurn Approval(const stTerminalFrame& request, const stSaleTime& now);
    stTerminalTurn Cancel(const stTerminalFrame& request, const stSaleTime& now);
    stTerminalTurn MerchantInfo() const;
    // The progress states followed by the answer.
    stTerminalTurn Answered(stTerminalFrame answer) const;

    EventSink m_events;
    stMerchantInfo m_info;
    enumInfoMode m_infoMode = enumInfoMode::Answer;
    std::vector<std::string> m_states{"1I", "TS", "TE"};
    std::deque<stOutcome> m_outcomes;
    CChargeLedger m_ledger;
};

// The request's fields for the journal: [[number, text], ...] in UTF-8.
nlohmann::json JournalFields(const stTerminalFrame& frame);

}  // namespace hx
