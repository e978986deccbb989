#include "kiosk/support/money_report.h"

#include <algorithm>

#include "kiosk/support/cash_sessions.h"
#include "kiosk/support/float_counts.h"
#include "kiosk/support/money_text.h"

namespace hx {

namespace {

std::string_view KindLabel(enumMoneyKind kind) {
    switch (kind) {
        case enumMoneyKind::InletsOpened:
            return "투입구 열림";
        case enumMoneyKind::MoneyCounted:
            return "투입 합계";
        case enumMoneyKind::ChangeDecided:
            return "거스름돈 결정";
        case enumMoneyKind::RefundDecided:
            return "반환 결정";
        case enumMoneyKind::PayoutRequested:
            return "방출 요청";
        case enumMoneyKind::DispenseResult:
            return "방출 결과";
        case enumMoneyKind::PayoutAnswered:
            return "방출 응답";
        case enumMoneyKind::FloatSaved:
            return "시재 기록";
        case enumMoneyKind::FloatLoaded:
            return "시재 읽음";
        case enumMoneyKind::SaleRequested:
            return "구매 요청";
        case enumMoneyKind::SaleAnswered:
            return "구매 응답";
        case enumMoneyKind::KeyCardIssued:
            return "키 카드 발급";
        case enumMoneyKind::SessionEnded:
            return "처음 화면";
        case enumMoneyKind::OpenMoney:
            return "미정산 현금";
        case enumMoneyKind::CashBreak:
            return "장부 불일치";
        case enumMoneyKind::Reconciled:
            return "시작 점검";
    }
    return {};
}

std::string PiecesText(const stPaidOut& pieces) {
    std::string text;
    const auto add = [&text](const char* name, int count) {
        if (count != 0) {
            text +=
                (text.empty() ? "" : ", ") + std::string(name) + " " + std::to_string(count) + "장";
        }
    };
    add("50,000원권", pieces.notes50000);
    add("10,000원권", pieces.notes10000);
    add("5,000원권", pieces.notes5000);
    add("1,000원권", pieces.notes1000);
    add("500원", pieces.coins500);
    add("100원", pieces.coins100);
    add("RF카드", pieces.keyCards);
    return text;
}

std::string Detail(const stMoneyEntry& entry) {
    const std::string room = std::to_string(entry.room) + " 룸";
    switch (entry.kind) {
        case enumMoneyKind::InletsOpened:
            return "목표 " + WonText(entry.target);
        case enumMoneyKind::MoneyCounted:
            return WonText(entry.received) + " (목표 " + WonText(entry.target) + ")";
        case enumMoneyKind::ChangeDecided:
        case enumMoneyKind::RefundDecided:
            return WonText(entry.won) + " (투입 " + WonText(entry.received) + ")";
        case enumMoneyKind::PayoutRequested:
        case enumMoneyKind::DispenseResult:
            return WonText(entry.won) + " [" + PiecesText(entry.pieces) + "]";
        case enumMoneyKind::PayoutAnswered:
            return entry.result == 1 ? "지급 완료" : "지급 실패";
        case enumMoneyKind::FloatSaved:
            return FloatCountsText(FloatOfPieces(entry.pieces)) +
                   (entry.result == 1 ? "" : " (파일 기록 실패)");
        case enumMoneyKind::FloatLoaded:
            return FloatCountsText(FloatOfPieces(entry.pieces));
        case enumMoneyKind::SaleRequested:
            return room + " " + entry.text + (entry.won > 0 ? " " + WonText(entry.won) : "");
        case enumMoneyKind::SaleAnswered:
            return room + " 결과 " + std::to_string(entry.result) +
                   (entry.text.empty() ? "" : " (" + entry.text + ")");
        case enumMoneyKind::KeyCardIssued:
            return room;
        default:
            return entry.text;
    }
}

}  // namespace

std::string MoneyEntryLine(const stMoneyEntry& entry) {
    const std::string clock = entry.time.size() >= 19 ? entry.time.substr(11, 8) : entry.time;
    std::string label(KindLabel(entry.kind));
    const std::string detail = Detail(entry);
    return clock + "  " + label + (detail.empty() ? "" : "  " + detail);
}

stMoneyReport MoneyReportOfDay(CMoneyJournal& journal, std::string_view day) {
    stMoneyReport report;
    const std::vector<stMoneyEntry> entries = journal.EntriesOfDay(day);
    for (const stMoneyEntry& entry : entries) {
        report.entries.push_back(MoneyEntryLine(entry));
        if (entry.kind == enumMoneyKind::OpenMoney || entry.kind == enumMoneyKind::CashBreak) {
            report.findings.push_back(MoneyEntryLine(entry));
        }
    }
    for (const stCashSession& session : CashSessions(entries)) {
        ++report.payments;
        for (const std::string& sentence : CashBreaksOf(session)) {
            report.breaks.push_back(session.opened + " " + sentence);
        }
    }
    const int64_t checked = std::max(journal.LastIdOf(enumMoneyKind::SessionEnded),
                                     journal.LastIdOf(enumMoneyKind::Reconciled));
    for (const stCashSession& session : CashSessions(journal.EntriesFrom(checked + 1))) {
        if (const auto open = OpenMoneyOf(session)) {
            report.open.push_back(session.opened + " " + open->text);
        }
    }
    return report;
}

std::vector<std::string> MoneyReportLines(const stMoneyReport& report, std::string_view day) {
    std::vector<std::string> lines{std::string(day) + " 현금 장부 (" +
                                   std::to_string(report.entries.size()) + "건)"};
    lines.insert(lines.end(), report.entries.begin(), report.entries.end());
    lines.push_back("");
    lines.push_back("점검: 현금 결제 " + std::to_string(report.payments) + "건");
    const auto section = [&lines](const char* title, const std::vector<std::string>& items) {
        lines.push_back(std::string(title) + (items.empty() ? " 없음" : ""));
        for (const std::string& item : items) {
            lines.push_back("  " + item);
        }
    };
    section("지금 열린 현금:", report.open);
    section("점검에서 찾은 일:", report.findings);
    section("합계가 맞지 않는 결제:", report.breaks);
    return lines;
}

}  // namespace hx
