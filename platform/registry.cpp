#include "platform/registry.h"

#include "platform/registry_value.h"

namespace hx {

namespace {

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

bool IsText(const stRegValue& value) {
    return StringFromValue(value).has_value();
}

CRegistryDb::enumOpenMode OpenModeFor(enumRegAccess access) {
    return access == enumRegAccess::AllAccess ? CRegistryDb::enumOpenMode::ReadWrite
                                              : CRegistryDb::enumOpenMode::ReadOnly;
}

}  // namespace

bool CRegistry::Open(enumRegRoot root, const char* subKey, enumRegAccess access) {
    Close();
    CRegistryDb db;
    if (!db.Open(OpenModeFor(access)) || (access == enumRegAccess::AllAccess && !db.IsWritable()) ||
        db.FindKey(RegKeyPath(root, OrEmpty(subKey))) != enumRegStatus::Ok) {
        return false;
    }
    return Remember(root, subKey, access);
}

bool CRegistry::Create(enumRegRoot root, const char* subKey) {
    Close();
    CRegistryDb db;
    if (!db.Open() || db.CreateKey(RegKeyPath(root, OrEmpty(subKey))) != enumRegStatus::Ok) {
        return false;
    }
    return Remember(root, subKey, enumRegAccess::AllAccess);
}

bool CRegistry::Remember(enumRegRoot root, const char* subKey, enumRegAccess access) {
    m_keyPath = RegKeyPath(root, OrEmpty(subKey));
    m_subKey = OrEmpty(subKey);
    m_access = access;
    return true;
}

void CRegistry::Close() {
    m_keyPath.clear();
}

bool CRegistry::ReadString(const char* name, std::string& out) const {
    CRegistryDb db;
    stRegValue value;
    if (!IsOpen() || !db.Open(CRegistryDb::enumOpenMode::ReadOnly) ||
        db.QueryValue(m_keyPath, OrEmpty(name), value) != enumRegStatus::Ok) {
        return false;
    }
    auto text = StringFromValue(value);
    if (!text) {
        return false;
    }
    out = std::move(*text);
    return true;
}

bool CRegistry::WriteString(const char* name, const char* value) const {
    CRegistryDb db;
    return IsOpen() && m_access == enumRegAccess::AllAccess && value != nullptr && db.Open() &&
           db.SetValue(m_keyPath, OrEmpty(name), MakeStringValue(value)) == enumRegStatus::Ok;
}

bool CRegistry::ReadOrStoreString(const char* name, const char* defaultValue,
                                  std::string& out) const {
    CRegistryDb db;
    stRegValue fallback = MakeStringValue(OrEmpty(defaultValue));
    stRegValue value = fallback;
    bool stored = db.Open() && db.ReadOrStoreDefault(m_keyPath, OrEmpty(name), IsText, fallback,
                                                     value) == enumRegStatus::Ok;
    out = StringFromValue(value).value_or(OrEmpty(defaultValue));
    return stored;
}

bool CRegistry::ReadStringWithDefault(enumRegRoot root, const char* subKey, const char* name,
                                      const char* defaultValue, std::string& out) {
    CRegistry key;
    if (key.Open(root, subKey, enumRegAccess::AllAccess)) {
        return key.ReadOrStoreString(name, defaultValue, out);
    }
    if (key.Open(root, subKey, enumRegAccess::Read)) {
        if (key.ReadString(name, out)) {
            return true;
        }
        out = OrEmpty(defaultValue);
        return false;
    }
    // The key is missing: create it and store the default, unless a racing
    // writer has stored a value by then.
    if (key.Create(root, subKey)) {
        return key.ReadOrStoreString(name, defaultValue, out);
    }
    out = OrEmpty(defaultValue);
    return false;
}

}  // namespace hx
