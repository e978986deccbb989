#pragma once
// The money journal as an operator reads it: a day's entries, one line each,
// and the check of it — what is open now, what the checks found that day,
// and whether every cash payment of the day adds up. hxmoney prints these
// lines and the service page shows them.

#include <string>
#include <string_view>
#include <vector>

#include "kiosk/support/money_journal.h"

namespace hx {

// "hh:mm:ss  KIND  DETAIL".
std::string MoneyEntryLine(const stMoneyEntry& entry);

struct stMoneyReport {
    std::vector<std::string> entries;   // the day's, in order
    std::vector<std::string> open;      // money open since the last check
    std::vector<std::string> findings;  // what the checks of the day found
    std::vector<std::string> breaks;    // sums of the day's payments that do not agree
    int payments = 0;                   // cash payments of the day
};

stMoneyReport MoneyReportOfDay(CMoneyJournal& journal, std::string_view day);

// The report as lines of text, headed by the day.
std::vector<std::string> MoneyReportLines(const stMoneyReport& report, std::string_view day);

}  // namespace hx
