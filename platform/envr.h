#pragma once
// Per-application settings under HKEY_LOCAL_MACHINE\SOFTWARE\<company>\<application>\<section>.
//
// Reads return the stored value, or store the caller's default and return it
// when the value is missing or of the wrong type, so the first reader's default
// becomes everyone's. Every call opens the store, creates the company,
// application and section keys when missing, does its one access and closes
// again: nothing is cached, and what any thread or process wrote is seen by the
// next read. Texts are UTF-8. Safe to use from any thread.

#include <string>
#include <string_view>

namespace hx {

class CEnvr {
public:
    // Company and application from the framework key when both are set, else
    // the company and ".Default".
    CEnvr();
    // The company from the framework key with this application; null or empty
    // behaves like the constructor above.
    explicit CEnvr(const char* applicationName);

    // The framework's registry key, set once at start-up.
    static void SetFrameworkKey(std::string_view company, std::string_view application);

    int GetInt(const char* section, const char* name, int defaultValue) const;
    std::string GetString(const char* section, const char* name, const char* defaultValue) const;
    bool WriteInt(const char* section, const char* name, int value) const;
    // A null value deletes the value; a null name deletes the whole section key.
    // Deleting what is already gone succeeds.
    bool WriteString(const char* section, const char* name, const char* value) const;

    const std::string& GetCompany() const { return m_company; }
    const std::string& GetApplication() const { return m_application; }
    // The full key path of a section; a null or empty section means the application key.
    std::string SectionKeyPath(const char* section) const;

private:
    std::string m_company;
    std::string m_application;
};

}  // namespace hx
