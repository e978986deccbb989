#pragma once
// The settings store that stands in for the Windows registry: one SQLite
// database, DRIVE/Windows/registry.db, holding keys and typed values.
//
// Key paths are full paths whose first part is a root, e.g.
// "HKEY_LOCAL_MACHINE\SOFTWARE\Norvane\HxKiosk\Settings". Key and value names
// compare ASCII case-insensitively and keep the case they were first written
// in. A CRegistryDb is one connection: open one per operation (it is cheap) and
// use it from one thread. Nothing is cached, so every read sees what any thread
// or process wrote before it; writers wait for each other up to a few seconds.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_value.h"

struct sqlite3;

namespace hx {

enum class enumRegRoot { LocalMachine, CurrentUser };

enum class enumRegStatus { Ok, NotFound, Failed };

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
const char* RegRootName(enumRegRoot root);

// The root's name followed by a backslash and subKey (the root alone when subKey is empty).
std::string RegKeyPath(enumRegRoot root, std::string_view subKey);

// keyPath with its root spelled in full capitals; nullopt when the path does not
// start with a known root or has an empty part (leading, trailing or doubled backslash).
std::optional<std::string> CanonicalKeyPath(std::string_view keyPath);

struct stRegKeyListing {
    std::string path;                      // as stored
    std::vector<std::string> subKeyNames;  // alphabetical
    std::vector<stRegNamedValue> values;   // in the order they were first written
};

class CRegistryDb {
public:
    enum class enumOpenMode { ReadWrite, ReadOnly };

    // Accepts or rejects a stored value for ReadOrStoreDefault.
    using ValueCheck = bool (*)(const stRegValue&);

    CRegistryDb() = default;
    ~CRegistryDb();
    CRegistryDb(const CRegistryDb&) = delete;
    CRegistryDb& operator=(const CRegistryDb&) = delete;

    static std::filesystem::path DefaultFile();  // GetWindowsFolder()/registry.db

    // ReadWrite creates the folder and the database when missing and falls back
    // to reading only when the file cannot be written; ReadOnly never creates.
    bool Open(enumOpenMode mode = enumOpenMode::ReadWrite);
    bool OpenFile(const std::filesystem::path& file, enumOpenMode mode);
    bool IsWritable() const;
    const std::string& LastError() const { return m_lastError; }

    // Creates the key and every missing parent; Ok when it already exists.
    enumRegStatus CreateKey(std::string_view keyPath);
    // Ok when the key exists; storedPath receives its path as stored.
    enumRegStatus FindKey(std::string_view keyPath, std::string* storedPath = nullptr);
    enumRegStatus QueryValue(std::string_view keyPath, std::string_view name, stRegValue& out);
    // NotFound when the key does not exist.
    enumRegStatus SetValue(std::string_view keyPath, std::string_view name,
                           const stRegValue& value);
    enumRegStatus DeleteValue(std::string_view keyPath, std::string_view name);
    // Deletes the key with all its sub-keys and values. Roots cannot be deleted.
    enumRegStatus DeleteKey(std::string_view keyPath);
    enumRegStatus ListKey(std::string_view keyPath, stRegKeyListing& out);

    // out receives the stored value when isUsable accepts it; otherwise the key
    // is created, fallback is stored and out receives it. The check and the
    // store are one transaction, so a value written meanwhile by someone else is
    // kept, never overwritten by the fallback. Failed when the fallback could
    // not be stored (out still receives it).
    enumRegStatus ReadOrStoreDefault(std::string_view keyPath, std::string_view name,
                                     ValueCheck isUsable, const stRegValue& fallback,
                                     stRegValue& out);

private:
    bool PrepareSchema();
    std::optional<std::string> CheckedPath(std::string_view keyPath);
    // The operations on a path CheckedPath accepted, inside the caller's transaction if any.
    enumRegStatus CreateCanonicalKey(const std::string& keyPath);
    enumRegStatus FindCanonicalKey(const std::string& keyPath, std::string* storedPath);
    enumRegStatus QueryCanonicalValue(const std::string& keyPath, std::string_view name,
                                      stRegValue& out);
    enumRegStatus SetCanonicalValue(const std::string& keyPath, std::string_view name,
                                    const stRegValue& value);
    enumRegStatus Fail();
    void Close();

    sqlite3* m_db = nullptr;
    std::string m_lastError;
};

}  // namespace hx
