#include "kiosk/support/cash_sessions.h"

#include <algorithm>
#include <array>

#include "kiosk/support/money_text.h"

namespace hx {

namespace {

bool HoldsUndecidedMoney(const stCashSession& session) {
    return !session.ended && session.inserted > 0 && !session.decided;
}

void AddPieces(stPaidOut& total, const stPaidOut& more) {
    total.notes1000 += more.notes1000;
    total.notes5000 += more.notes5000;
    total.notes10000 += more.notes10000;
    total.notes50000 += more.notes50000;
    total.coins500 += more.coins500;
    total.coins100 += more.coins100;
    total.keyCards += more.keyCards;
}

// Folds the journal's entries, in order, into sessions.
class CSessionFold {
public:
    void Add(const stMoneyEntry& entry) {
        if (entry.kind == enumMoneyKind::FloatSaved || entry.kind == enumMoneyKind::FloatLoaded) {
            m_lastFloat = entry.pieces;
            if (Current() != nullptr) {
                Current()->floatAfter = entry.pieces;
            }
            return;
        }
        if (entry.kind == enumMoneyKind::InletsOpened) {
            Open(entry);
        }
        stCashSession* session = Current();
        if (session == nullptr) {
            return;
        }
        Apply(*session, entry);
    }

    std::vector<stCashSession> Take() { return std::move(m_sessions); }

private:
    stCashSession* Current() {
        return m_sessions.empty() || m_sessions.back().ended ? nullptr : &m_sessions.back();
    }

    void Open(const stMoneyEntry& entry) {
        if (Current() != nullptr && HoldsUndecidedMoney(*Current())) {
            return;
        }
        if (Current() != nullptr) {
            Current()->ended = true;  // settled; the guest pays again
        }
        stCashSession session;
        session.opened = entry.time;
        session.floatBefore = m_lastFloat;
        m_sessions.push_back(session);
    }

    static void Apply(stCashSession& session, const stMoneyEntry& entry) {
        switch (entry.kind) {
            case enumMoneyKind::MoneyCounted:
                session.inserted = std::max(session.inserted, entry.received);
                break;
            case enumMoneyKind::ChangeDecided:
            case enumMoneyKind::RefundDecided:
                session.decided = true;
                session.owed += entry.won;
                break;
            case enumMoneyKind::PayoutRequested:
                session.pendingPayout = entry.won;
                break;
            case enumMoneyKind::DispenseResult:
                session.paid += entry.won;
                session.pendingPayout = 0;
                AddPieces(session.handedOut, entry.pieces);
                break;
            case enumMoneyKind::PayoutAnswered:
                session.pendingPayout = 0;
                break;
            case enumMoneyKind::SaleRequested:
                session.saleRoom = entry.won > 0 ? entry.room : 0;
                break;
            case enumMoneyKind::SaleAnswered:
                session.saleRoom = 0;
                if (entry.result == 1 && entry.won > 0) {
                    session.saleAccepted = true;
                    session.sold = entry.won;
                }
                break;
            case enumMoneyKind::KeyCardIssued:
                AddPieces(session.handedOut, entry.pieces);
                break;
            case enumMoneyKind::SessionEnded:
                session.ended = true;
                break;
            default:
                break;
        }
    }

    std::vector<stCashSession> m_sessions;
    std::optional<stPaidOut> m_lastFloat;
};

}  // namespace

std::vector<stCashSession> CashSessions(const std::vector<stMoneyEntry>& entries) {
    CSessionFold fold;
    for (const stMoneyEntry& entry : entries) {
        fold.Add(entry);
    }
    return fold.Take();
}

std::optional<stOpenMoney> OpenMoneyOf(const stCashSession& session) {
    const std::string inserted = " (투입 " + WonText(session.inserted) + ")";
    if (session.pendingPayout > 0) {
        return stOpenMoney{session.pendingPayout,
                           "방출 확인 안됨 " + WonText(session.pendingPayout) + inserted};
    }
    if (!session.decided && !session.saleAccepted && session.inserted > 0) {
        std::string text = "투입 후 정산 안됨 " + WonText(session.inserted);
        if (session.saleRoom > 0) {
            text += " (" + std::to_string(session.saleRoom) + " 룸 구매 응답 전)";
        }
        return stOpenMoney{session.inserted, text};
    }
    if (!session.decided && session.inserted > session.sold) {
        const int change = session.inserted - session.sold;
        return stOpenMoney{change, "거스름돈 지급 안됨 " + WonText(change) + inserted};
    }
    if (session.owed > session.paid) {
        const int unpaid = session.owed - session.paid;
        return stOpenMoney{unpaid, "지급 안됨 " + WonText(unpaid) + inserted};
    }
    return std::nullopt;
}

std::vector<std::string> CashBreaksOf(const stCashSession& session) {
    std::vector<std::string> breaks;
    if (!OpenMoneyOf(session) && (session.decided || session.saleAccepted) &&
        session.inserted != session.sold + session.owed) {
        breaks.push_back("현금 합계 불일치: 투입 " + WonText(session.inserted) + ", 판매 " +
                         WonText(session.sold) + ", 거스름돈·반환 " + WonText(session.owed));
    }
    if (session.paid > session.owed) {
        breaks.push_back("방출 초과: 지급할 돈 " + WonText(session.owed) + ", 방출 " +
                         WonText(session.paid));
    }
    if (!session.floatBefore || !session.floatAfter) {
        return breaks;
    }
    const stPaidOut& before = *session.floatBefore;
    const stPaidOut& after = *session.floatAfter;
    const stPaidOut& out = session.handedOut;
    const std::array<std::tuple<const char*, int, int, int>, 4> kinds{{
        {"1,000원권", before.notes1000, after.notes1000, out.notes1000},
        {"5,000원권", before.notes5000, after.notes5000, out.notes5000},
        {"10,000원권", before.notes10000, after.notes10000, out.notes10000},
        {"RF카드", before.keyCards, after.keyCards, out.keyCards},
    }};
    for (const auto& [name, held, left, handed] : kinds) {
        if (held - left != handed) {
            breaks.push_back(std::string("시재 불일치: ") + name + " " + std::to_string(held) +
                             "장에서 " + std::to_string(left) + "장, 방출 " +
                             std::to_string(handed) + "장");
        }
    }
    return breaks;
}

}  // namespace hx
