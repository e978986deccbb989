#pragma once
// One line of the resend file "ReSend.log": a report that has yet to reach
// the server, as CP949 text with its fields joined by "||". Old files, from
// any kiosk of this kind, keep replaying: the formats never change.
//
//   1||code||text||time                        step report (515)
//   2||code||cleared||text||time               device event (505)
//   3||n1000||n5000||n10000||0||cards||time    cash-in report (507)
//   4||n1000||n5000||n10000||0||cards||time    payout report (508), sent
//                                              after a float report (506)
//   5                                          float report of the counts
//                                              at the time it is sent
//
// Times are local "YYYY-MM-DD HH:MM:SS" (empty for none). A text keeps no
// line break (written as a space); it may hold "||", as the screen's texts
// do ("305||스탠다드"), because the reader splits the leading numbers from
// the left and the time from the right: the text is what lies between.

#include <optional>
#include <string>
#include <string_view>

#include "kiosk/records/report_records.h"

namespace hx {

enum enumResendType : int {
    RESEND_STEP = 1,
    RESEND_EVENT = 2,
    RESEND_CASH_IN = 3,
    RESEND_PAYOUT = 4,
    RESEND_FLOAT = 5,
};

struct stResendReport {
    enumResendType type = RESEND_FLOAT;
    stStepReport step;    // RESEND_STEP
    stDeviceEvent event;  // RESEND_EVENT
    stMoneyReport money;  // RESEND_CASH_IN, RESEND_PAYOUT
};

// The line without its CR LF, in CP949. A money report other than cash-in
// or payout has no line ("").
std::string FormatResendLine(const stStepReport& report);
std::string FormatResendLine(const stDeviceEvent& event);
std::string FormatResendLine(const stMoneyReport& report);

// The report of one line (without its line end); nullopt for a type that is
// none of the above or a line with too few fields for its type. Numbers are
// read after trimming white space and dropping commas; anything else reads
// as 0.
std::optional<stResendReport> ParseResendLine(std::string_view cp949Line);

// "YYYY-MM-DD HH:MM:SS" of a moment in local time, and back by the fixed
// positions of the digits; "" and any text not in that form read as 0.
std::string ResendTimeText(int64_t secondsSince1970);
int64_t ResendTimeFromText(std::string_view text);

}  // namespace hx
