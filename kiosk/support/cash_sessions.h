#pragma once
// Cash payments as the money journal tells them. A session runs from the
// inlets' opening until the guest is home again; an opening while the
// guest's money is still undecided (a second cash choice) goes on with the
// same session. For each session: where its money is (inserted, sold, change
// and refunds decided, handed out), what is still open, and whether its sums
// agree:
//   money inserted = price of the accepted cash sale + change and refunds;
//   change and refunds are handed out in full (or are open);
//   the float went down by exactly what the board and the dispenser handed out.

#include <optional>
#include <string>
#include <vector>

#include "kiosk/support/money_journal.h"
#include "kiosk/support/paid_out.h"

namespace hx {

struct stCashSession {
    std::string opened;  // local time of the opening
    int inserted = 0;    // the most the guest had in
    int sold = 0;        // cash price of the sale the server accepted
    bool saleAccepted = false;
    int saleRoom = 0;       // a sale asked for and not answered yet
    bool decided = false;   // change or a refund was decided
    int owed = 0;           // change and refunds decided
    int paid = 0;           // what the board handed out
    int pendingPayout = 0;  // a payout asked for that no result or answer followed
    bool ended = false;
    stPaidOut handedOut;  // by the board's dispensers and, key cards, the card dispenser
    std::optional<stPaidOut> floatBefore;  // the float as last saved before and within
    std::optional<stPaidOut> floatAfter;
};

// Money of a session that is neither sold nor back with the guest.
struct stOpenMoney {
    int won = 0;
    std::string text;
};

std::vector<stCashSession> CashSessions(const std::vector<stMoneyEntry>& entries);
std::optional<stOpenMoney> OpenMoneyOf(const stCashSession& session);
// The sums that do not agree, each as a sentence; empty when all agree. A
// session with open money is not judged on its cash sums.
std::vector<std::string> CashBreaksOf(const stCashSession& session);

}  // namespace hx
