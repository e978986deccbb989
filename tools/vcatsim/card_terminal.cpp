#include "tools/vcatsim/card_terminal.h"

#include "platform/cp949.h"

namespace hx {

namespace {

bool IsApproval(const std::string& code) {
    return code == "0101" || code == "0111";
}

bool IsCancel(const std::string& code) {
    return code == "2101" || code == "2111";
}

// The refusal code and message of a cancel that cannot be made.
std::pair<std::string, std::string> CancelOutcome(enumCancelResult result) {
    switch (result) {
        case enumCancelResult::Cancelled:
            return {"00", "정상취소"};
        case enumCancelResult::Unknown:
            return {"8A", "원거래 없음"};
        case enumCancelResult::AlreadyCancelled:
            return {"8B", "기취소 거래"};
        case enumCancelResult::AmountDiffers:
            return {"8C", "취소금액 오류"};
    }
    return {"8A", "원거래 없음"};
}

}  // namespace

nlohmann::json JournalFields(const stTerminalFrame& frame) {
    nlohmann::json fields = nlohmann::json::array();
    for (const auto& [number, text] : frame.fields) {
        fields.push_back({number, Utf8FromCp949(text)});
    }
    return fields;
}

CCardTerminal::CCardTerminal(EventSink events, stMerchantInfo info)
    : m_events(std::move(events)), m_info(std::move(info)) {}

stTerminalTurn CCardTerminal::Handle(const stTerminalFrame& request, const stSaleTime& now) {
    const std::string code = FieldText(request, 1);
    m_events(
        {{"event", "request"}, {"code", Utf8FromCp949(code)}, {"fields", JournalFields(request)}});
    if (IsApproval(code)) {
        return Approval(request, now);
    }
    if (IsCancel(code)) {
        return Cancel(request, now);
    }
    if (code == "5201") {
        return MerchantInfo();
    }
    if (code == "9001") {
        return {{StatusCheckAnswer()}, false};
    }
    m_events({{"event", "unknown request"}, {"code", Utf8FromCp949(code)}});
    return {};
}

stTerminalTurn CCardTerminal::Answered(stTerminalFrame answer) const {
    stTerminalTurn turn;
    for (const std::string& state : m_states) {
        turn.frames.push_back(StateFrame(state));
    }
    turn.frames.push_back(std::move(answer));
    return turn;
}

stTerminalTurn CCardTerminal::Approval(const stTerminalFrame& request, const stSaleTime& now) {
    const stOutcome outcome = m_outcomes.empty() ? stOutcome{} : m_outcomes.front();
    if (!m_outcomes.empty()) {
        m_outcomes.pop_front();
    }
    const std::string amount = FieldText(request, 3);
    switch (outcome.kind) {
        case enumOutcome::Silent:
            m_events({{"event", "silent"}, {"amount", Utf8FromCp949(amount)}});
            return {{}, true};
        case enumOutcome::Exit:
            m_events({{"event", "exit"}, {"exitCode", outcome.exitCode}});
            return {{ExitFrame(outcome.exitCode)}, false};
        case enumOutcome::Decline:
            m_events({{"event", "declined"},
                      {"amount", Utf8FromCp949(amount)},
                      {"code", outcome.code},
                      {"message", outcome.message}});
            return Answered(DeclineAnswer(m_info, amount, now, outcome.code, outcome.message));
        case enumOutcome::Approve:
        case enumOutcome::Fallback:
            break;
    }
    const stCharge& charge = m_ledger.Approve(amount, now.date, now.time);
    m_events({{"event", "approved"},
              {"approvalNo", charge.approvalNo},
              {"amount", Utf8FromCp949(charge.amount)},
              {"date", charge.date},
              {"time", charge.time}});
    stTerminalTurn turn = Answered(ApprovalAnswer(m_info, charge));
    if (outcome.kind == enumOutcome::Fallback) {
        turn.frames.insert(turn.frames.begin(), StateFrame("1M"));
    }
    return turn;
}

stTerminalTurn CCardTerminal::Cancel(const stTerminalFrame& request, const stSaleTime& now) {
    const std::string approvalNo = FieldText(request, 12);
    const std::string amount = FieldText(request, 3);
    const enumCancelResult result = m_ledger.Cancel(approvalNo, amount);
    const auto [code, message] = CancelOutcome(result);
    m_events({{"event", result == enumCancelResult::Cancelled ? "cancelled" : "cancel refused"},
              {"approvalNo", Utf8FromCp949(approvalNo)},
              {"amount", Utf8FromCp949(amount)},
              {"code", code}});
    return Answered(CancelAnswer(m_info, request, now, code, message));
}

stTerminalTurn CCardTerminal::MerchantInfo() const {
    if (m_infoMode == enumInfoMode::Refuse) {
        return {{MerchantInfoRefusal()}, false};
    }
    return {{MerchantInfoAnswer(m_info)}, false};
}

}  // namespace hx
