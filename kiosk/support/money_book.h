#pragma once
// The kiosk's side of the money journal: it writes the entries, checks every
// cash payment once the guest is home (its money sold, handed back or named
// as open; its sums agreeing), and at start-up names the money a crash left
// open and checks the float file against the journal. What it finds is
// logged, kept in the journal and reported to the server as a device event
// (701 open money, 702 sums that do not agree). Runs on the kiosk window's
// thread.

#include <cstdint>
#include <functional>
#include <string_view>

#include "kiosk/support/cash_sessions.h"
#include "kiosk/support/float_counts.h"
#include "kiosk/support/money_journal.h"

namespace hx {

class CMoneyBook {
public:
    struct stHooks {
        std::function<void(int code, std::string_view text)> reportEvent;
        std::function<void(std::string_view)> log;
    };

    explicit CMoneyBook(stHooks hooks);

    bool Open(const std::filesystem::path& file = CMoneyJournal::DefaultFile());
    void Write(stMoneyEntry entry) { m_journal.Append(std::move(entry)); }

    // At start-up, before the float is used: the float the kiosk goes on
    // with (the file's, or the journal's when the file missed a payout the
    // journal confirms).
    stFloatCounts Reconcile(const stFloatCounts& fileFloat);
    // After the guest went home: every cash payment since the last check.
    void Audit();

private:
    void ReportOpenMoney(const std::vector<stCashSession>& sessions);
    void ReportBreaks(const std::vector<stCashSession>& sessions);
    void Found(enumMoneyKind kind, int won, const std::string& text);
    stFloatCounts CheckFloat(const stFloatCounts& fileFloat);

    const stHooks m_hooks;
    CMoneyJournal m_journal;
    int64_t m_checkedUpTo = 0;  // the last entry a check has seen
    int m_findings = 0;         // of the check under way
};

}  // namespace hx
