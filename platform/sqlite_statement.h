#pragma once
// Small helpers over an SQLite connection that the settings store and the
// money journal share: a prepared statement that binds and reads by column,
// and a transaction that rolls back unless committed. The SQLite header stays
// in the implementation, so this header compiles anywhere.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace hx {

class CStatement {
public:
    CStatement(sqlite3* db, const char* sql);
    ~CStatement();
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;

    CStatement& Bind(int index, std::string_view text);
    CStatement& Bind(int index, std::int64_t number);
    // An empty value binds a zero-length blob, never SQL NULL.
    CStatement& Bind(int index, const std::vector<std::uint8_t>& bytes);

    // SQLite's result code of one step (an error when the statement did not prepare).
    int Step();
    // True while a step gives a row; false when done or failed.
    bool NextRow();
    // True when the statement ran to its end.
    bool Run();

    std::string Text(int column);
    std::int64_t Int(int column);
    std::vector<std::uint8_t> Blob(int column);

private:
    sqlite3_stmt* m_stmt = nullptr;
};

// IMMEDIATE (Write) takes the write lock at once, so a writer waits in the
// busy handler instead of failing half-way through.
class CTransaction {
public:
    enum class enumKind { Read, Write };

    CTransaction(sqlite3* db, enumKind kind);
    ~CTransaction();
    CTransaction(const CTransaction&) = delete;
    CTransaction& operator=(const CTransaction&) = delete;

    bool IsOpen() const { return m_open; }
    bool Commit();

private:
    sqlite3* m_db;
    bool m_open = false;
};

}  // namespace hx
