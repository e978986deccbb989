#pragma once
// The money journal: every event that moves or decides a won, appended as it
// happens to an SQLite file in the program folder ("MoneyJournal.db") and
// committed to the disk before the kiosk acts on it. After a power cut it
// still says that a payout was asked for and never confirmed, or that a
// guest's notes were taken and nothing was decided for them. Entries are
// never changed or removed. One writer (the kiosk window's thread); readers
// (the service page, hxmoney) open their own connection.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kiosk/support/paid_out.h"

struct sqlite3;

namespace hx {

class CStatement;

enum class enumMoneyKind {
    InletsOpened,     // target: the price
    MoneyCounted,     // received so far, target
    ChangeDecided,    // won: the change; received, target
    RefundDecided,    // won: everything received
    PayoutRequested,  // won and pieces as asked of the board
    DispenseResult,   // won and pieces the board handed out
    PayoutAnswered,   // result 1 paid, 0 failed; won as answered
    FloatSaved,       // pieces: the float after a change; result 1 written, 0 not
    FloatLoaded,      // pieces: the float read at start-up
    SaleRequested,    // room, won: the cash amount; text: how it is paid
    SaleAnswered,     // room, result: the server's; won: the cash amount
    KeyCardIssued,    // room; pieces: one key card
    SessionEnded,     // the guest is home again
    OpenMoney,        // won and text: money found undecided or unpaid
    CashBreak,        // text: the cash or float sums do not agree
    Reconciled,       // text: what the start-up check found
};

// The stored name of a kind ("inlets opened" ...) and back.
std::string_view MoneyKindName(enumMoneyKind kind);
std::optional<enumMoneyKind> MoneyKindFromName(std::string_view name);

struct stMoneyEntry {
    int64_t id = 0;      // given by the journal, in the order written
    std::string time{};  // local, "YYYY-MM-DD hh:mm:ss"; the journal stamps it when empty
    enumMoneyKind kind = enumMoneyKind::Reconciled;
    int won = 0;
    int received = 0;
    int target = 0;
    stPaidOut pieces{};
    int room = 0;
    int result = 0;
    std::string text{};
};

class CMoneyJournal {
public:
    using LogSink = std::function<void(std::string_view)>;

    explicit CMoneyJournal(LogSink log = {});
    ~CMoneyJournal();
    CMoneyJournal(const CMoneyJournal&) = delete;
    CMoneyJournal& operator=(const CMoneyJournal&) = delete;

    // GetProgramPath("MoneyJournal.db").
    static std::filesystem::path DefaultFile();

    // Creates the file when missing (unless reading only); false and logged
    // when it cannot be opened.
    bool Open(const std::filesystem::path& file, bool readOnly = false);

    // True once the entry is on the disk; a failure is logged and the kiosk
    // goes on (the guest's money must still move).
    bool Append(stMoneyEntry entry);

    // Entries in the order written: of one day ("YYYY-MM-DD"), or from an id on.
    std::vector<stMoneyEntry> EntriesOfDay(std::string_view day);
    std::vector<stMoneyEntry> EntriesFrom(int64_t firstId);
    // The id of the last entry of a kind; 0 when there is none.
    int64_t LastIdOf(enumMoneyKind kind);

private:
    std::vector<stMoneyEntry> Select(const char* where,
                                     const std::function<void(CStatement&)>& bind);
    void EndHereWhenAsked(enumMoneyKind kind);

    LogSink m_log;
    sqlite3* m_db = nullptr;
    int m_crashCountdown = 0;
    std::optional<enumMoneyKind> m_crashKind;
};

}  // namespace hx
