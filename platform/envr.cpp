#include "platform/envr.h"

#include <mutex>
#include <utility>

#include "platform/registry_db.h"
#include "platform/registry_value.h"

namespace hx {

namespace {

std::mutex g_frameworkKeyMutex;
std::string g_frameworkCompany;
std::string g_frameworkApplication;

std::pair<std::string, std::string> FrameworkKey() {
    std::lock_guard lock(g_frameworkKeyMutex);
    return {g_frameworkCompany, g_frameworkApplication};
}

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

bool IsNumber(const stRegValue& value) {
    return DwordFromValue(value).has_value();
}

bool IsText(const stRegValue& value) {
    return StringFromValue(value).has_value();
}

// Reads the value, storing fallback when it is missing or isUsable rejects it;
// fallback when the store cannot be opened at all.
stRegValue ReadOrStore(const std::string& sectionPath, const char* name,
                       CRegistryDb::ValueCheck isUsable, const stRegValue& fallback) {
    CRegistryDb db;
    stRegValue value = fallback;
    if (db.Open()) {
        db.ReadOrStoreDefault(sectionPath, OrEmpty(name), isUsable, fallback, value);
    }
    return value;
}

bool Store(const std::string& sectionPath, const char* name, const stRegValue& value) {
    CRegistryDb db;
    return db.Open() && db.CreateKey(sectionPath) == enumRegStatus::Ok &&
           db.SetValue(sectionPath, OrEmpty(name), value) == enumRegStatus::Ok;
}

}  // namespace

CEnvr::CEnvr() {
    auto [company, application] = FrameworkKey();
    m_company = std::move(company);
    m_application = !m_company.empty() && !application.empty() ? application : ".Default";
}

CEnvr::CEnvr(const char* applicationName) : CEnvr() {
    if (applicationName != nullptr && *applicationName != '\0') {
        m_application = applicationName;
    }
}

void CEnvr::SetFrameworkKey(std::string_view company, std::string_view application) {
    std::lock_guard lock(g_frameworkKeyMutex);
    g_frameworkCompany = company;
    g_frameworkApplication = application;
}

std::string CEnvr::SectionKeyPath(const char* section) const {
    // Without a company the application key sits directly under SOFTWARE, as an
    // empty key name opens the parent itself.
    std::string path = RegKeyPath(enumRegRoot::LocalMachine, "SOFTWARE");
    for (const std::string& part : {m_company, m_application, std::string(OrEmpty(section))}) {
        if (!part.empty()) {
            path += '\\' + part;
        }
    }
    return path;
}

int CEnvr::GetInt(const char* section, const char* name, int defaultValue) const {
    stRegValue value = ReadOrStore(SectionKeyPath(section), name, IsNumber,
                                   MakeDwordValue(static_cast<std::uint32_t>(defaultValue)));
    return static_cast<int>(DwordFromValue(value).value_or(defaultValue));
}

std::string CEnvr::GetString(const char* section, const char* name,
                             const char* defaultValue) const {
    stRegValue value =
        ReadOrStore(SectionKeyPath(section), name, IsText, MakeStringValue(OrEmpty(defaultValue)));
    return StringFromValue(value).value_or(OrEmpty(defaultValue));
}

bool CEnvr::WriteInt(const char* section, const char* name, int value) const {
    return Store(SectionKeyPath(section), name, MakeDwordValue(static_cast<std::uint32_t>(value)));
}

bool CEnvr::WriteString(const char* section, const char* name, const char* value) const {
    if (name != nullptr && value != nullptr) {
        return Store(SectionKeyPath(section), name, MakeStringValue(value));
    }
    bool wholeSection = name == nullptr;
    if (wholeSection && OrEmpty(section)[0] == '\0') {
        return false;  // would delete the application key with every section in it
    }
    std::string sectionPath = SectionKeyPath(section);
    std::string keptPath = wholeSection ? SectionKeyPath(nullptr) : sectionPath;
    CRegistryDb db;
    if (!db.Open() || db.CreateKey(keptPath) != enumRegStatus::Ok) {
        return false;
    }
    enumRegStatus status =
        wholeSection ? db.DeleteKey(sectionPath) : db.DeleteValue(sectionPath, name);
    return status != enumRegStatus::Failed;
}

}  // namespace hx
