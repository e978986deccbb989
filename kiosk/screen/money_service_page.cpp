#include "kiosk/screen/money_service_page.h"

#include "kiosk/support/money_journal.h"
#include "kiosk/support/money_report.h"
#include "platform/local_time.h"

namespace hx {

namespace {

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '&':
                escaped += "&amp;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string Section(std::string_view title, const std::vector<std::string>& lines,
                    std::string_view id) {
    std::string html =
        "<section data-testid=\"" + std::string(id) + "\"><h2>" + Escaped(title) + "</h2>";
    if (lines.empty()) {
        return html + "<p>없음</p></section>";
    }
    html += "<ul>";
    for (const std::string& line : lines) {
        html += "<li>" + Escaped(line) + "</li>";
    }
    return html + "</ul></section>";
}

}  // namespace

std::string MoneyServicePage(std::string_view day) {
    const std::string shown =
        day.empty() ? LocalTimeText(GetLocalTimeNow()).substr(0, 10) : std::string(day);
    CMoneyJournal journal;
    stMoneyReport report;
    if (journal.Open(CMoneyJournal::DefaultFile(), true)) {
        report = MoneyReportOfDay(journal, shown);
    }
    return "<!doctype html><html lang=\"ko\"><head><meta charset=\"utf-8\">"
           "<title>현금 장부 " +
           shown +
           "</title>"
           "<style>body{font:18px sans-serif;margin:24px;color:#111;background:#fff}"
           "li{font-family:monospace;white-space:pre-wrap}h2{margin-top:24px}</style></head>"
           "<body><h1>현금 장부 " +
           shown + "</h1>" + Section("지금 열린 현금", report.open, "money-open") +
           Section("점검에서 찾은 일", report.findings, "money-findings") +
           Section("합계가 맞지 않는 결제", report.breaks, "money-breaks") +
           Section("기록 (" + std::to_string(report.entries.size()) + "건)", report.entries,
                   "money-entries") +
           "</body></html>";
}

}  // namespace hx
