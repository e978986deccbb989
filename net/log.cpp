#include "net/log.h"

#include <algorithm>
#include <cstdarg>
#include <system_error>

#include "platform/drive.h"

namespace hx {

CLog::CLog(int mode, int levelThreshold, const char* name)
    : m_mode(mode),
      m_levelThreshold(levelThreshold),
      m_name(name != nullptr && *name != '\0' ? name : "unnamed.log") {}

CLog::~CLog() {
    if (m_file != nullptr && m_file != stdout) {
        std::fclose(m_file);
    }
}

std::filesystem::path CLog::DiagnosticFolder() {
    return MapWindowsPath("C:\\Program Files\\Harlix\\LogFiles");
}

void CLog::Open() {
    m_opened = true;
    if (m_mode == LOG_CONSOLE) {
        m_file = stdout;
        return;
    }
    // Only the last folder is created: without the program's folders there is
    // nowhere to write.
    std::error_code ignored;
    std::filesystem::create_directory(DiagnosticFolder(), ignored);
    m_file = std::fopen(GetPath().c_str(), "wb");
}

void CLog::Write(int level, const char* format, ...) {
    if (level > m_levelThreshold) {
        return;
    }
    if (!m_opened) {
        Open();
    }
    if (m_file == nullptr) {
        return;
    }
    char record[kMaxRecord + 1];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(record, sizeof record, format, args);
    va_end(args);
    if (length < 0) {
        return;
    }
    std::fwrite(record, 1, std::min(static_cast<size_t>(length), kMaxRecord), m_file);
    std::fflush(m_file);
}

}  // namespace hx
