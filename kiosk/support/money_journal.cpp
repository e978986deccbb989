#include "kiosk/support/money_journal.h"

#include <sqlite3.h>

#include <array>
#include <cstdlib>
#include <utility>

#include "kiosk/support/paths.h"
#include "platform/local_time.h"
#include "platform/sqlite_statement.h"

namespace hx {

namespace {

constexpr int kBusyTimeoutMs = 5000;

// WAL with full syncs: a commit is on the disk when it returns.
constexpr const char* kSchema =
    "PRAGMA journal_mode=WAL;"
    "PRAGMA synchronous=FULL;"
    "CREATE TABLE IF NOT EXISTS money(id INTEGER PRIMARY KEY, time TEXT NOT NULL,"
    " kind TEXT NOT NULL, won INTEGER NOT NULL, received INTEGER NOT NULL,"
    " target INTEGER NOT NULL, notes1000 INTEGER NOT NULL, notes5000 INTEGER NOT NULL,"
    " notes10000 INTEGER NOT NULL, notes50000 INTEGER NOT NULL, coins500 INTEGER NOT NULL,"
    " coins100 INTEGER NOT NULL, keyCards INTEGER NOT NULL, room INTEGER NOT NULL,"
    " result INTEGER NOT NULL, text TEXT NOT NULL);"
    // A kiosk keeps years of entries: the checks look up by kind, the reports by day.
    "CREATE INDEX IF NOT EXISTS money_kind ON money(kind, id);"
    "CREATE INDEX IF NOT EXISTS money_time ON money(time);";

constexpr const char* kColumns =
    "SELECT id, time, kind, won, received, target, notes1000, notes5000, notes10000, notes50000,"
    " coins500, coins100, keyCards, room, result, text FROM money ";

constexpr std::array<std::pair<enumMoneyKind, std::string_view>, 16> kNames{{
    {enumMoneyKind::InletsOpened, "inlets opened"},
    {enumMoneyKind::MoneyCounted, "money counted"},
    {enumMoneyKind::ChangeDecided, "change decided"},
    {enumMoneyKind::RefundDecided, "refund decided"},
    {enumMoneyKind::PayoutRequested, "payout requested"},
    {enumMoneyKind::DispenseResult, "dispense result"},
    {enumMoneyKind::PayoutAnswered, "payout answered"},
    {enumMoneyKind::FloatSaved, "float saved"},
    {enumMoneyKind::FloatLoaded, "float loaded"},
    {enumMoneyKind::SaleRequested, "sale requested"},
    {enumMoneyKind::SaleAnswered, "sale answered"},
    {enumMoneyKind::KeyCardIssued, "key card issued"},
    {enumMoneyKind::SessionEnded, "session ended"},
    {enumMoneyKind::OpenMoney, "open money"},
    {enumMoneyKind::CashBreak, "cash break"},
    {enumMoneyKind::Reconciled, "reconciled"},
}};

stMoneyEntry EntryOfRow(CStatement& row) {
    stMoneyEntry entry;
    entry.id = row.Int(0);
    entry.time = row.Text(1);
    entry.kind = MoneyKindFromName(row.Text(2)).value_or(enumMoneyKind::Reconciled);
    const auto number = [&row](int column) { return static_cast<int>(row.Int(column)); };
    entry.won = number(3);
    entry.received = number(4);
    entry.target = number(5);
    entry.pieces = {number(6), number(7), number(8), number(9), number(10), number(11), number(12)};
    entry.room = number(13);
    entry.result = number(14);
    entry.text = row.Text(15);
    return entry;
}

}  // namespace

std::string_view MoneyKindName(enumMoneyKind kind) {
    for (const auto& [known, name] : kNames) {
        if (known == kind) {
            return name;
        }
    }
    return {};
}

std::optional<enumMoneyKind> MoneyKindFromName(std::string_view name) {
    for (const auto& [kind, known] : kNames) {
        if (known == name) {
            return kind;
        }
    }
    return std::nullopt;
}

// HXKIOSK_MONEY_CRASH_AFTER="KIND" or "KIND#N" ends the program as a power
// cut would, right after the Nth entry of that kind is on the disk: the
// crash tests stop the kiosk at an exact step of a payment with it.
CMoneyJournal::CMoneyJournal(LogSink log) : m_log(std::move(log)) {
    const char* crash = std::getenv("HXKIOSK_MONEY_CRASH_AFTER");
    if (crash == nullptr) {
        return;
    }
    std::string_view point(crash);
    const size_t mark = point.find('#');
    m_crashKind = MoneyKindFromName(point.substr(0, mark));
    m_crashCountdown = mark == std::string_view::npos ? 1 : std::atoi(crash + mark + 1);
}

CMoneyJournal::~CMoneyJournal() {
    sqlite3_close(m_db);
}

std::filesystem::path CMoneyJournal::DefaultFile() {
    return GetProgramPath("MoneyJournal.db");
}

bool CMoneyJournal::Open(const std::filesystem::path& file, bool readOnly) {
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    std::error_code ignored;
    if (!readOnly) {
        std::filesystem::create_directories(file.parent_path(), ignored);
    }
    if (sqlite3_open_v2(file.c_str(), &m_db, flags, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        if (readOnly || sqlite3_exec(m_db, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK) {
            return true;
        }
    }
    if (m_log) {
        m_log("현금 장부 열기 실패: " + std::string(sqlite3_errmsg(m_db)));
    }
    sqlite3_close(m_db);
    m_db = nullptr;
    return false;
}

bool CMoneyJournal::Append(stMoneyEntry entry) {
    if (entry.time.empty()) {
        entry.time = LocalTimeText(GetLocalTimeNow());
    }
    CStatement insert(m_db,
                      "INSERT INTO money(time, kind, won, received, target, notes1000, notes5000,"
                      " notes10000, notes50000, coins500, coins100, keyCards, room, result, text)"
                      " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)");
    const stPaidOut& pieces = entry.pieces;
    insert.Bind(1, entry.time).Bind(2, MoneyKindName(entry.kind));
    int index = 3;
    for (const int number :
         {entry.won, entry.received, entry.target, pieces.notes1000, pieces.notes5000,
          pieces.notes10000, pieces.notes50000, pieces.coins500, pieces.coins100, pieces.keyCards,
          entry.room, entry.result}) {
        insert.Bind(index++, static_cast<int64_t>(number));
    }
    insert.Bind(index, entry.text);
    if (m_db == nullptr || !insert.Run()) {
        if (m_log) {
            m_log("현금 장부 기록 실패: " + std::string(MoneyKindName(entry.kind)));
        }
        return false;
    }
    EndHereWhenAsked(entry.kind);
    return true;
}

void CMoneyJournal::EndHereWhenAsked(enumMoneyKind kind) {
    if (m_crashKind == kind && --m_crashCountdown == 0) {
        std::_Exit(137);
    }
}

std::vector<stMoneyEntry> CMoneyJournal::EntriesOfDay(std::string_view day) {
    const std::string from = std::string(day) + " 00:00:00";
    const std::string to = std::string(day) + " 99";
    return Select("WHERE time >= ?1 AND time < ?2 ORDER BY id",
                  [&](CStatement& select) { select.Bind(1, from).Bind(2, to); });
}

std::vector<stMoneyEntry> CMoneyJournal::EntriesFrom(int64_t firstId) {
    return Select("WHERE id >= ?1 ORDER BY id",
                  [firstId](CStatement& select) { select.Bind(1, firstId); });
}

int64_t CMoneyJournal::LastIdOf(enumMoneyKind kind) {
    CStatement select(m_db, "SELECT IFNULL(MAX(id), 0) FROM money WHERE kind = ?1");
    select.Bind(1, MoneyKindName(kind));
    return select.NextRow() ? select.Int(0) : 0;
}

std::vector<stMoneyEntry> CMoneyJournal::Select(const char* where,
                                                const std::function<void(CStatement&)>& bind) {
    std::vector<stMoneyEntry> entries;
    if (m_db == nullptr) {
        return entries;
    }
    CStatement select(m_db, (std::string(kColumns) + where).c_str());
    bind(select);
    while (select.NextRow()) {
        entries.push_back(EntryOfRow(select));
    }
    return entries;
}

}  // namespace hx
