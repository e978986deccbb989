#pragma once
// Minimal diagnostic writer. File mode writes DRIVE/Program Files/Harlix/
// LogFiles/<name>, opened on the first record and cut to nothing then, so each
// writer object starts its file afresh; console mode writes standard output.

#include <cstdio>
#include <filesystem>
#include <string>

namespace hx {

class CLog {
public:
    enum enumLogMode { LOG_FILE = 0, LOG_CONSOLE = 1 };
    static constexpr size_t kMaxRecord = 4095;  // longer records are cut

    // No file activity until the first record. Without a name: "unnamed.log".
    explicit CLog(int mode = LOG_FILE, int levelThreshold = 4, const char* name = nullptr);
    ~CLog();
    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;

    // Skipped when level is above the threshold. A file that cannot be opened
    // leaves the writer silent.
    void Write(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));

    // DRIVE/Program Files/Harlix/LogFiles.
    static std::filesystem::path DiagnosticFolder();
    std::filesystem::path GetPath() const { return DiagnosticFolder() / m_name; }

private:
    void Open();

    int m_mode;
    int m_levelThreshold;
    std::string m_name;
    std::FILE* m_file = nullptr;
    bool m_opened = false;
};

}  // namespace hx
