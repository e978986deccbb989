#include "kiosk/support/money_book.h"

#include <string>

#include "kiosk/support/device_event_text.h"

namespace hx {

namespace {

bool SameFloat(const stFloatCounts& a, const stFloatCounts& b) {
    return a.notes1000 == b.notes1000 && a.notes5000 == b.notes5000 &&
           a.notes10000 == b.notes10000 && a.keyCards == b.keyCards;
}

// The float as the journal knows it: its last snapshot, less what was handed
// out after it.
struct stJournalFloat {
    bool known = false;
    stFloatCounts saved;     // the last snapshot
    stFloatCounts expected;  // after what followed it
};

stJournalFloat JournalFloat(CMoneyJournal& journal) {
    const int64_t snapshot = std::max(journal.LastIdOf(enumMoneyKind::FloatSaved),
                                      journal.LastIdOf(enumMoneyKind::FloatLoaded));
    stJournalFloat known;
    if (snapshot == 0) {
        return known;
    }
    const std::vector<stMoneyEntry> entries = journal.EntriesFrom(snapshot);
    known.known = true;
    known.saved = FloatOfPieces(entries.front().pieces);
    known.expected = known.saved;
    for (const stMoneyEntry& entry : entries) {
        if (entry.kind == enumMoneyKind::DispenseResult ||
            entry.kind == enumMoneyKind::KeyCardIssued) {
            known.expected.notes1000 -= entry.pieces.notes1000;
            known.expected.notes5000 -= entry.pieces.notes5000;
            known.expected.notes10000 -= entry.pieces.notes10000;
            known.expected.keyCards -= entry.pieces.keyCards;
        }
    }
    return known;
}

}  // namespace

CMoneyBook::CMoneyBook(stHooks hooks) : m_hooks(std::move(hooks)), m_journal(m_hooks.log) {}

bool CMoneyBook::Open(const std::filesystem::path& file) {
    return m_journal.Open(file);
}

stFloatCounts CMoneyBook::Reconcile(const stFloatCounts& fileFloat) {
    m_findings = 0;
    const int64_t from = std::max(m_journal.LastIdOf(enumMoneyKind::SessionEnded),
                                  m_journal.LastIdOf(enumMoneyKind::Reconciled)) +
                         1;
    const std::vector<stCashSession> sessions = CashSessions(m_journal.EntriesFrom(from));
    ReportOpenMoney(sessions);
    ReportBreaks(sessions);
    const stFloatCounts counts = CheckFloat(fileFloat);
    stMoneyEntry done{.kind = enumMoneyKind::Reconciled};
    done.text = m_findings == 0 ? "정상" : "확인 필요 " + std::to_string(m_findings) + "건";
    m_journal.Append(done);
    m_checkedUpTo = m_journal.LastIdOf(enumMoneyKind::Reconciled);
    return counts;
}

void CMoneyBook::Audit() {
    m_findings = 0;
    const std::vector<stMoneyEntry> entries = m_journal.EntriesFrom(m_checkedUpTo + 1);
    if (entries.empty()) {
        return;
    }
    m_checkedUpTo = entries.back().id;
    const std::vector<stCashSession> sessions = CashSessions(entries);
    ReportOpenMoney(sessions);
    ReportBreaks(sessions);
}

void CMoneyBook::ReportOpenMoney(const std::vector<stCashSession>& sessions) {
    for (const stCashSession& session : sessions) {
        if (const auto open = OpenMoneyOf(session)) {
            Found(enumMoneyKind::OpenMoney, open->won, open->text);
        }
    }
}

void CMoneyBook::ReportBreaks(const std::vector<stCashSession>& sessions) {
    for (const stCashSession& session : sessions) {
        for (const std::string& sentence : CashBreaksOf(session)) {
            Found(enumMoneyKind::CashBreak, 0, sentence);
        }
    }
}

void CMoneyBook::Found(enumMoneyKind kind, int won, const std::string& text) {
    ++m_findings;
    stMoneyEntry entry{.kind = kind, .won = won};
    entry.text = text;
    m_journal.Append(entry);
    const int code = kind == enumMoneyKind::OpenMoney ? EVENT_OPEN_MONEY : EVENT_MONEY_BREAK;
    if (m_hooks.reportEvent) {
        m_hooks.reportEvent(code, text);  // the device event's text is logged with it
    }
}

// The file is the float unless the journal confirms a payout it missed (a
// power cut between the two writes); a file that differs otherwise (refilled
// by hand) is taken as it is, and said.
stFloatCounts CMoneyBook::CheckFloat(const stFloatCounts& fileFloat) {
    const stJournalFloat journal = JournalFloat(m_journal);
    stFloatCounts counts = fileFloat;
    if (journal.known && !SameFloat(fileFloat, journal.expected)) {
        if (SameFloat(fileFloat, journal.saved)) {
            counts = journal.expected;
            Found(enumMoneyKind::CashBreak, 0,
                  "시재 파일에 빠진 방출 반영: " + FloatCountsText(counts));
            SaveFloatCounts(counts);
        } else {
            Found(enumMoneyKind::CashBreak, 0,
                  "시재 파일과 장부 다름: 파일 " + FloatCountsText(fileFloat) + " / 장부 " +
                      FloatCountsText(journal.expected));
        }
    }
    m_journal.Append({.kind = enumMoneyKind::FloatLoaded, .pieces = PiecesOfFloat(counts)});
    return counts;
}

}  // namespace hx
