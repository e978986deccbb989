#pragma once
// A key object for registry keys outside the kiosk's own tree (another
// program's install path, the printer's port). It holds one open key and the
// name of the sub-key last opened; the key closes when the object is destroyed.
// Like a Windows key handle, an open key whose key is deleted by someone else
// fails from then on. Texts are UTF-8.

#include <string>

#include "platform/registry_db.h"

namespace hx {

enum class enumRegAccess { Read, AllAccess };

class CRegistry {
public:
    CRegistry() = default;
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Opens an existing key. AllAccess fails when the store cannot be written.
    bool Open(enumRegRoot root, const char* subKey, enumRegAccess access);
    // Creates the key (and its parents) or opens it, with full access.
    bool Create(enumRegRoot root, const char* subKey);
    void Close();
    bool IsOpen() const { return !m_keyPath.empty(); }
    const std::string& GetSubKey() const { return m_subKey; }

    // String, expandable-string and multi-string values; any other type counts as missing.
    bool ReadString(const char* name, std::string& out) const;
    // Stores REG_SZ; needs a key opened with full access.
    bool WriteString(const char* name, const char* value) const;

    // out always receives a usable text: the stored value, else defaultValue.
    // The key is opened with full access, else read-only, else created; a
    // missing value is stored with the default unless the key is read-only.
    // Returns whether out is what the store now holds (false when the default
    // could neither be read nor stored).
    static bool ReadStringWithDefault(enumRegRoot root, const char* subKey, const char* name,
                                      const char* defaultValue, std::string& out);

private:
    bool Remember(enumRegRoot root, const char* subKey, enumRegAccess access);
    bool ReadOrStoreString(const char* name, const char* defaultValue, std::string& out) const;

    std::string m_keyPath;  // empty while closed
    std::string m_subKey;
    enumRegAccess m_access = enumRegAccess::Read;
};

}  // namespace hx
