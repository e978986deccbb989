#include "platform/ini_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <mutex>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/drive.h"
#include "platform/file_bytes.h"
#include "platform/ini_document.h"

namespace hx {

namespace {

// Writes read, edit and replace a whole file; two threads doing that at once
// would each drop the other's change.
std::mutex g_writeMutex;

std::mutex g_hookMutex;
IniWriteFailureHook g_failureHook;

using DocumentEdit = std::function<bool(CIniDocument&)>;

bool EditFile(const std::filesystem::path& file, const DocumentEdit& edit) {
    std::lock_guard lock(g_writeMutex);
    // A file that cannot be read must not be replaced by one without its lines.
    const std::optional<std::string> bytes = ReadFileIfPresent(file);
    if (!bytes) {
        return false;
    }
    CIniDocument document = CIniDocument::Parse(*bytes);
    return !edit(document) || ReplaceFileAtomically(file, document.Serialize());
}

bool ApplyWrite(const char* section, const char* key, const char* value,
                const std::filesystem::path& file) {
    if (section == nullptr) {
        return false;
    }
    if (key == nullptr) {
        return EditFile(file,
                        [&](CIniDocument& document) { return document.DeleteSection(section); });
    }
    if (value == nullptr) {
        return EditFile(file,
                        [&](CIniDocument& document) { return document.DeleteKey(section, key); });
    }
    return CIniDocument::CanHold(section, key, value) &&
           EditFile(file, [&](CIniDocument& document) {
               return document.SetString(section, key, value);
           });
}

void ReportWriteFailure(const std::filesystem::path& file, const char* section, const char* key,
                        const char* value) {
    IniWriteFailureHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_failureHook;
    }
    if (hook) {
        hook(file, section, key, value);
    }
}

bool IsAsciiBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue,
                                    const std::filesystem::path& file, size_t bufferSize) {
    const CIniDocument document = CIniDocument::Parse(ReadFileIfPresent(file).value_or(""));
    return document.GetString(section, key, defaultValue, bufferSize);
}

int GetPrivateProfileNumber(std::string_view section, std::string_view key, int defaultValue,
                            const std::filesystem::path& file) {
    return AsciiToInt(GetPrivateProfileString(section, key, std::to_string(defaultValue), file));
}

int AsciiToInt(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && IsAsciiBlank(text[at])) {
        ++at;
    }
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
    int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = std::min<int64_t>(magnitude * 10 + (text[at] - '0'), limit);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::filesystem::path& file) {
    if (ApplyWrite(section, key, value, file)) {
        return true;
    }
    ReportWriteFailure(file, section, key, value);
    return false;
}

bool WritePrivateProfileKeys(std::string_view section, std::span<const stIniEntry> entries,
                             const std::filesystem::path& file) {
    const bool storable = std::all_of(entries.begin(), entries.end(), [&](const stIniEntry& entry) {
        return CIniDocument::CanHold(section, entry.key, entry.value);
    });
    const bool written = storable && EditFile(file, [&](CIniDocument& document) {
                             bool changed = false;
                             for (const stIniEntry& entry : entries) {
                                 changed =
                                     document.SetString(section, entry.key, entry.value) || changed;
                             }
                             return changed;
                         });
    if (!written) {
        const std::string sectionText(section);
        for (const stIniEntry& entry : entries) {
            ReportWriteFailure(file, sectionText.c_str(), entry.key.c_str(), entry.value.c_str());
        }
    }
    return written;
}

void SetIniWriteFailureHook(IniWriteFailureHook hook) {
    std::lock_guard lock(g_hookMutex);
    g_failureHook = std::move(hook);
}

std::filesystem::path GetWinIniPath() {
    return GetWindowsFolder() / "win.ini";
}

std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, size_t bufferSize) {
    return GetPrivateProfileString(section, key, defaultValue, GetWinIniPath(), bufferSize);
}

bool WriteProfileString(const char* section, const char* key, const char* value) {
    return WritePrivateProfileString(section, key, value, GetWinIniPath());
}

}  // namespace hx
