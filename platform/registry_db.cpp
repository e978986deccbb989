#include "platform/registry_db.h"

#include <sqlite3.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <system_error>
#include <thread>

#include "platform/drive.h"
#include "platform/sqlite_statement.h"

namespace hx {

namespace {

// Long enough for any other writer's short transaction, short enough that a
// stuck process shows up as a failed read instead of a hung kiosk.
constexpr int kBusyTimeoutMs = 5000;
constexpr int kSchemaAttempts = 500;
constexpr int kSchemaRetryMs = 10;

constexpr const char* kCreateSchema =
    "CREATE TABLE IF NOT EXISTS keys(path TEXT PRIMARY KEY COLLATE NOCASE) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS vals(key TEXT NOT NULL COLLATE NOCASE,"
    " name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL,"
    " UNIQUE(key, name));";

// Sub-keys of ?1 lie between "?1\" and "?1]" (']' follows '\'); NOCASE folds
// letters only, so the range holds under the column's collation.
#define HX_BELOW_KEY(column) "(" column " >= ?1 || '\\' AND " column " < ?1 || ']')"

constexpr std::array<std::pair<enumRegRoot, const char*>, 2> kRoots{{
    {enumRegRoot::LocalMachine, "HKEY_LOCAL_MACHINE"},
    {enumRegRoot::CurrentUser, "HKEY_CURRENT_USER"},
}};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

bool IsRootPath(std::string_view canonicalPath) {
    return canonicalPath.find('\\') == std::string_view::npos;
}

// Commits when status is Ok (anything else rolls back); false when that commit failed.
bool Committed(CTransaction& transaction, enumRegStatus status) {
    return status != enumRegStatus::Ok || transaction.Commit();
}

}  // namespace

const char* RegRootName(enumRegRoot root) {
    for (const auto& [id, name] : kRoots) {
        if (id == root) {
            return name;
        }
    }
    return kRoots[0].second;
}

std::string RegKeyPath(enumRegRoot root, std::string_view subKey) {
    std::string path = RegRootName(root);
    if (!subKey.empty()) {
        path += '\\';
        path += subKey;
    }
    return path;
}

std::optional<std::string> CanonicalKeyPath(std::string_view keyPath) {
    size_t rootEnd = keyPath.find('\\');
    std::string_view rootName = keyPath.substr(0, rootEnd);
    const char* canonicalRoot = nullptr;
    for (const auto& [id, name] : kRoots) {
        if (EqualsIgnoringAsciiCase(rootName, name)) {
            canonicalRoot = name;
        }
    }
    if (canonicalRoot == nullptr) {
        return std::nullopt;
    }
    if (rootEnd == std::string_view::npos) {
        return std::string(canonicalRoot);
    }
    std::string_view rest = keyPath.substr(rootEnd + 1);
    bool partEmpty = true;
    for (char c : rest) {
        if (c == '\0' || (c == '\\' && partEmpty)) {
            return std::nullopt;
        }
        partEmpty = c == '\\';
    }
    if (partEmpty) {
        return std::nullopt;
    }
    return std::string(canonicalRoot) + '\\' + std::string(rest);
}

CRegistryDb::~CRegistryDb() {
    Close();
}

std::filesystem::path CRegistryDb::DefaultFile() {
    return GetWindowsFolder() / "registry.db";
}

bool CRegistryDb::Open(enumOpenMode mode) {
    std::filesystem::path file = DefaultFile();
    if (mode == enumOpenMode::ReadWrite) {
        std::error_code ignored;  // an unwritable folder shows up when the file is opened
        std::filesystem::create_directories(file.parent_path(), ignored);
    }
    return OpenFile(file, mode);
}

bool CRegistryDb::OpenFile(const std::filesystem::path& file, enumOpenMode mode) {
    Close();
    m_lastError.clear();
    int flags = mode == enumOpenMode::ReadOnly ? SQLITE_OPEN_READONLY
                                               : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(file.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        m_lastError = file.string() + ": " +
                      (m_db != nullptr ? sqlite3_errmsg(m_db) : "cannot open the database");
        Close();
        return false;
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    if (!PrepareSchema()) {
        m_lastError = file.string() + ": " + sqlite3_errmsg(m_db);
        Close();
        return false;
    }
    return true;
}

bool CRegistryDb::PrepareSchema() {
    if (!IsWritable()) {
        // Reading the schema version makes a file that is not a database fail here.
        return sqlite3_exec(m_db, "PRAGMA schema_version", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    // Switching a new file to WAL does not wait in the busy handler, so a store
    // that several threads or processes create at the same moment retries here.
    for (int attempt = 0; attempt < kSchemaAttempts; ++attempt) {
        int result = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if (result == SQLITE_OK) {
            result = sqlite3_exec(m_db, kCreateSchema, nullptr, nullptr, nullptr);
        }
        if (result != SQLITE_BUSY && result != SQLITE_LOCKED) {
            return result == SQLITE_OK;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kSchemaRetryMs));
    }
    return false;
}

bool CRegistryDb::IsWritable() const {
    return m_db != nullptr && sqlite3_db_readonly(m_db, "main") == 0;
}

void CRegistryDb::Close() {
    sqlite3_close(m_db);
    m_db = nullptr;
}

std::optional<std::string> CRegistryDb::CheckedPath(std::string_view keyPath) {
    if (m_db == nullptr) {
        m_lastError = "the registry database is not open";
        return std::nullopt;
    }
    auto path = CanonicalKeyPath(keyPath);
    if (!path) {
        m_lastError = "invalid key path: " + std::string(keyPath);
    }
    return path;
}

enumRegStatus CRegistryDb::Fail() {
    m_lastError = sqlite3_errmsg(m_db);
    return enumRegStatus::Failed;
}

enumRegStatus CRegistryDb::CreateKey(std::string_view keyPath) {
    auto path = CheckedPath(keyPath);
    if (!path) {
        return enumRegStatus::Failed;
    }
    CTransaction transaction(m_db, CTransaction::enumKind::Write);
    if (!transaction.IsOpen()) {
        return Fail();
    }
    enumRegStatus status = CreateCanonicalKey(*path);
    return Committed(transaction, status) ? status : Fail();
}

enumRegStatus CRegistryDb::CreateCanonicalKey(const std::string& keyPath) {
    // Each part keeps the case of an existing key, so a sub-key's stored path
    // always begins with its parent's stored path.
    size_t partStart = keyPath.find('\\');
    std::string current = keyPath.substr(0, partStart);
    while (partStart != std::string::npos) {
        size_t partEnd = keyPath.find('\\', partStart + 1);
        std::string candidate = current + keyPath.substr(partStart, partEnd - partStart);
        enumRegStatus found = FindCanonicalKey(candidate, &current);
        if (found == enumRegStatus::Failed) {
            return found;
        }
        if (found == enumRegStatus::NotFound) {
            if (CStatement(m_db, "INSERT INTO keys(path) VALUES(?1)").Bind(1, candidate).Step() !=
                SQLITE_DONE) {
                return Fail();
            }
            current = candidate;
        }
        partStart = partEnd;
    }
    return enumRegStatus::Ok;
}

enumRegStatus CRegistryDb::FindKey(std::string_view keyPath, std::string* storedPath) {
    auto path = CheckedPath(keyPath);
    return path ? FindCanonicalKey(*path, storedPath) : enumRegStatus::Failed;
}

enumRegStatus CRegistryDb::FindCanonicalKey(const std::string& keyPath, std::string* storedPath) {
    if (IsRootPath(keyPath)) {
        if (storedPath != nullptr) {
            *storedPath = keyPath;
        }
        return enumRegStatus::Ok;
    }
    CStatement select(m_db, "SELECT path FROM keys WHERE path = ?1");
    switch (select.Bind(1, keyPath).Step()) {
        case SQLITE_ROW:
            if (storedPath != nullptr) {
                *storedPath = select.Text(0);
            }
            return enumRegStatus::Ok;
        case SQLITE_DONE:
            return enumRegStatus::NotFound;
        default:
            return Fail();
    }
}

enumRegStatus CRegistryDb::QueryValue(std::string_view keyPath, std::string_view name,
                                      stRegValue& out) {
    auto path = CheckedPath(keyPath);
    return path ? QueryCanonicalValue(*path, name, out) : enumRegStatus::Failed;
}

enumRegStatus CRegistryDb::QueryCanonicalValue(const std::string& keyPath, std::string_view name,
                                               stRegValue& out) {
    CStatement select(m_db, "SELECT type, data FROM vals WHERE key = ?1 AND name = ?2");
    switch (select.Bind(1, keyPath).Bind(2, name).Step()) {
        case SQLITE_ROW:
            out.type = static_cast<enumRegType>(select.Int(0));
            out.data = select.Blob(1);
            return enumRegStatus::Ok;
        case SQLITE_DONE:
            return enumRegStatus::NotFound;
        default:
            return Fail();
    }
}

enumRegStatus CRegistryDb::SetValue(std::string_view keyPath, std::string_view name,
                                    const stRegValue& value) {
    auto path = CheckedPath(keyPath);
    return path ? SetCanonicalValue(*path, name, value) : enumRegStatus::Failed;
}

enumRegStatus CRegistryDb::SetCanonicalValue(const std::string& keyPath, std::string_view name,
                                             const stRegValue& value) {
    if (IsRootPath(keyPath)) {
        m_lastError = "values cannot be stored on a root key";
        return enumRegStatus::Failed;
    }
    // One statement: the value is stored only under an existing key, and an
    // existing value keeps the case of its name.
    CStatement upsert(m_db,
                      "INSERT INTO vals(key, name, type, data)"
                      " SELECT ?1, ?2, ?3, ?4 WHERE EXISTS(SELECT 1 FROM keys WHERE path = ?1)"
                      " ON CONFLICT(key, name) DO UPDATE SET type = excluded.type,"
                      " data = excluded.data");
    upsert.Bind(1, keyPath).Bind(2, name).Bind(3, static_cast<std::int64_t>(value.type));
    if (upsert.Bind(4, value.data).Step() != SQLITE_DONE) {
        return Fail();
    }
    return sqlite3_changes(m_db) > 0 ? enumRegStatus::Ok : enumRegStatus::NotFound;
}

enumRegStatus CRegistryDb::DeleteValue(std::string_view keyPath, std::string_view name) {
    auto path = CheckedPath(keyPath);
    if (!path) {
        return enumRegStatus::Failed;
    }
    if (CStatement(m_db, "DELETE FROM vals WHERE key = ?1 AND name = ?2")
            .Bind(1, *path)
            .Bind(2, name)
            .Step() != SQLITE_DONE) {
        return Fail();
    }
    return sqlite3_changes(m_db) > 0 ? enumRegStatus::Ok : enumRegStatus::NotFound;
}

enumRegStatus CRegistryDb::DeleteKey(std::string_view keyPath) {
    auto path = CheckedPath(keyPath);
    if (!path) {
        return enumRegStatus::Failed;
    }
    if (IsRootPath(*path)) {
        m_lastError = "a root key cannot be deleted";
        return enumRegStatus::Failed;
    }
    CTransaction transaction(m_db, CTransaction::enumKind::Write);
    if (!transaction.IsOpen()) {
        return Fail();
    }
    enumRegStatus found = FindCanonicalKey(*path, nullptr);
    if (found != enumRegStatus::Ok) {
        return found;
    }
    for (const char* sql : {"DELETE FROM vals WHERE key = ?1 OR " HX_BELOW_KEY("key"),
                            "DELETE FROM keys WHERE path = ?1 OR " HX_BELOW_KEY("path")}) {
        if (CStatement(m_db, sql).Bind(1, *path).Step() != SQLITE_DONE) {
            return Fail();
        }
    }
    return Committed(transaction, enumRegStatus::Ok) ? enumRegStatus::Ok : Fail();
}

enumRegStatus CRegistryDb::ListKey(std::string_view keyPath, stRegKeyListing& out) {
    auto path = CheckedPath(keyPath);
    if (!path) {
        return enumRegStatus::Failed;
    }
    CTransaction snapshot(m_db, CTransaction::enumKind::Read);
    if (!snapshot.IsOpen()) {
        return Fail();
    }
    stRegKeyListing listing;
    enumRegStatus found = FindCanonicalKey(*path, &listing.path);
    if (found != enumRegStatus::Ok) {
        return found;
    }
    CStatement subKeys(m_db, "SELECT path FROM keys WHERE " HX_BELOW_KEY(
                                 "path") " AND instr(substr(path, length(?1) + 2), '\\') = 0"
                                         " ORDER BY path");
    subKeys.Bind(1, listing.path);
    int rc;
    while ((rc = subKeys.Step()) == SQLITE_ROW) {
        std::string subKeyPath = subKeys.Text(0);
        listing.subKeyNames.push_back(subKeyPath.substr(subKeyPath.rfind('\\') + 1));
    }
    if (rc != SQLITE_DONE) {
        return Fail();
    }
    CStatement values(m_db, "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY rowid");
    values.Bind(1, listing.path);
    while ((rc = values.Step()) == SQLITE_ROW) {
        listing.values.push_back(
            {values.Text(0), {static_cast<enumRegType>(values.Int(1)), values.Blob(2)}});
    }
    if (rc != SQLITE_DONE) {
        return Fail();
    }
    out = std::move(listing);
    return Committed(snapshot, enumRegStatus::Ok) ? enumRegStatus::Ok : Fail();
}

enumRegStatus CRegistryDb::ReadOrStoreDefault(std::string_view keyPath, std::string_view name,
                                              ValueCheck isUsable, const stRegValue& fallback,
                                              stRegValue& out) {
    auto path = CheckedPath(keyPath);
    out = fallback;
    if (!path) {
        return enumRegStatus::Failed;
    }
    // Most reads find a good value and never take the write lock.
    stRegValue stored;
    if (QueryCanonicalValue(*path, name, stored) == enumRegStatus::Ok && isUsable(stored)) {
        out = std::move(stored);
        return enumRegStatus::Ok;
    }
    CTransaction transaction(m_db, CTransaction::enumKind::Write);
    if (!transaction.IsOpen()) {
        return Fail();
    }
    if (QueryCanonicalValue(*path, name, stored) == enumRegStatus::Ok && isUsable(stored)) {
        out = std::move(stored);
        return enumRegStatus::Ok;
    }
    enumRegStatus status = CreateCanonicalKey(*path);
    if (status == enumRegStatus::Ok) {
        status = SetCanonicalValue(*path, name, fallback);
    }
    return Committed(transaction, status) ? status : Fail();
}

}  // namespace hx
