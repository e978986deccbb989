#pragma once
// The money of one kiosk test as each party recorded it: what the board took
// and paid out (the board simulator's journal), the cash of the sales the
// desk accepted (its ledger), the key cards the dispenser issued, and the
// float the kiosk keeps. Once every payout has ended two sums must agree:
//   cash side:  money inserted = cash of the sales + everything paid out
//               (change and refunds);
//   float side: the float's notes of each kind went down by exactly what the
//               board paid out of them, its key cards by the cards issued.
// Each side's breaks are sentences that say which party disagrees. The
// kiosk's own money journal must agree with itself as well.

#include <array>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "kiosk/support/cash_sessions.h"
#include "kiosk/support/float_counts.h"
#include "kiosk/support/money_journal.h"
#include "tests/support/file_text.h"

namespace hx {

struct stMoneyTrail {
    int insertedWon = 0;                // every note and coin the board took
    int paidOutWon = 0;                 // every payout the board made
    std::array<int, 2> notesPaidOut{};  // of that, notes from bill dispensers 1 and 2
    int cashSoldWon = 0;                // cash of the sales in the desk's ledger
    int keyCardsIssued = 0;
};

// What the board did, from its journal's entries.
inline void AddBoardJournal(const std::vector<nlohmann::json>& journal, stMoneyTrail& trail) {
    for (const nlohmann::json& entry : journal) {
        const std::string event = entry.value("event", "");
        if (event == "taken") {
            trail.insertedWon += entry.value("value", 0);
        } else if (event == "paid out") {
            trail.paidOutWon += entry.value("won", 0);
            trail.notesPaidOut[0] += entry.value("notes1", 0);
            trail.notesPaidOut[1] += entry.value("notes2", 0);
        }
    }
}

// The cash of every sale the desk's ledger holds, settled or not; a missing
// ledger holds none.
inline int CashSoldInLedger(const std::filesystem::path& ledger) {
    const nlohmann::json book = nlohmann::json::parse(ReadWholeFile(ledger), nullptr, false);
    int won = 0;
    if (!book.is_object()) {
        return won;
    }
    // By terminal: an object, whose values are the periods.
    for (const nlohmann::json& period : book.value("periods", nlohmann::json::object())) {
        for (const nlohmann::json& sale : period.value("sales", nlohmann::json::array())) {
            won += sale.value("cashAmount", 0);
        }
    }
    for (const nlohmann::json& settled : book.value("settlements", nlohmann::json::array())) {
        won += settled.value("summary", nlohmann::json::object()).value("cashSales", 0);
    }
    return won;
}

inline std::vector<std::string> CashSideBreaks(const stMoneyTrail& trail) {
    if (trail.insertedWon == trail.cashSoldWon + trail.paidOutWon) {
        return {};
    }
    return {"cash side: the board took " + std::to_string(trail.insertedWon) +
            " won, but the desk sold " + std::to_string(trail.cashSoldWon) +
            " won for cash and the board paid out " + std::to_string(trail.paidOutWon) + " won"};
}

// `denominations` are those of bill dispensers 1 and 2; every kind in the
// float started at `start`.
inline std::vector<std::string> FloatSideBreaks(const stMoneyTrail& trail,
                                                const std::array<int, 2>& denominations, int start,
                                                const stFloatCounts& now) {
    std::vector<std::string> breaks;
    const auto check = [&](const std::string& kind, int held, const std::string& how, int left) {
        if (held != start - left) {
            breaks.push_back("float side: the kiosk counts " + std::to_string(held) + " " + kind +
                             "; it started with " + std::to_string(start) + " and " + how + " " +
                             std::to_string(left));
        }
    };
    for (const auto& [won, held] : {std::pair{1000, now.notes1000}, std::pair{5000, now.notes5000},
                                    std::pair{10000, now.notes10000}}) {
        int paid = 0;
        for (size_t dispenser = 0; dispenser < denominations.size(); ++dispenser) {
            paid += denominations[dispenser] == won ? trail.notesPaidOut[dispenser] : 0;
        }
        check(std::to_string(won) + "-won notes", held, "the board paid out", paid);
    }
    check("key cards", now.keyCards, "the dispenser issued", trail.keyCardsIssued);
    return breaks;
}

// The sums the kiosk's money journal (on this process's drive) finds broken,
// over every payment in it; none without a journal.
inline std::vector<std::string> JournalBreaks() {
    std::vector<std::string> breaks;
    CMoneyJournal journal;
    if (!journal.Open(CMoneyJournal::DefaultFile(), true)) {
        return breaks;
    }
    for (const stCashSession& session : CashSessions(journal.EntriesFrom(0))) {
        for (const std::string& broken : CashBreaksOf(session)) {
            breaks.push_back("the kiosk's journal: " + broken);
        }
    }
    return breaks;
}

}  // namespace hx
