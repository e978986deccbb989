#include "platform/sqlite_statement.h"

#include <sqlite3.h>

namespace hx {

CStatement::CStatement(sqlite3* db, const char* sql) {
    sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
}

CStatement::~CStatement() {
    sqlite3_finalize(m_stmt);
}

CStatement& CStatement::Bind(int index, std::string_view text) {
    sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

CStatement& CStatement::Bind(int index, std::int64_t number) {
    sqlite3_bind_int64(m_stmt, index, number);
    return *this;
}

CStatement& CStatement::Bind(int index, const std::vector<std::uint8_t>& bytes) {
    // A null pointer would bind SQL NULL; an empty value is a zero-length blob.
    if (bytes.empty()) {
        sqlite3_bind_zeroblob(m_stmt, index, 0);
    } else {
        sqlite3_bind_blob(m_stmt, index, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
    }
    return *this;
}

int CStatement::Step() {
    return m_stmt == nullptr ? SQLITE_ERROR : sqlite3_step(m_stmt);
}

bool CStatement::NextRow() {
    return Step() == SQLITE_ROW;
}

bool CStatement::Run() {
    return Step() == SQLITE_DONE;
}

std::string CStatement::Text(int column) {
    const auto* text = sqlite3_column_text(m_stmt, column);
    return text == nullptr ? std::string()
                           : std::string(reinterpret_cast<const char*>(text),
                                         sqlite3_column_bytes(m_stmt, column));
}

std::int64_t CStatement::Int(int column) {
    return sqlite3_column_int64(m_stmt, column);
}

std::vector<std::uint8_t> CStatement::Blob(int column) {
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(m_stmt, column));
    return bytes == nullptr
               ? std::vector<std::uint8_t>()
               : std::vector<std::uint8_t>(bytes, bytes + sqlite3_column_bytes(m_stmt, column));
}

CTransaction::CTransaction(sqlite3* db, enumKind kind) : m_db(db) {
    const char* begin = kind == enumKind::Write ? "BEGIN IMMEDIATE" : "BEGIN";
    m_open = sqlite3_exec(m_db, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
}

CTransaction::~CTransaction() {
    if (m_open) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

bool CTransaction::Commit() {
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        return false;  // the destructor rolls back
    }
    m_open = false;
    return true;
}

}  // namespace hx
