#include "net/diagnostic_file.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace hx {

CDiagnosticFile::CDiagnosticFile(std::string name, std::uintmax_t limitBytes)
    : m_name(std::move(name)), m_limit(limitBytes) {}

void CDiagnosticFile::Write(std::string_view text) {
    std::lock_guard lock(m_mutex);
    if (!m_log || m_folder != CLog::DiagnosticFolder()) {
        m_folder = CLog::DiagnosticFolder();
        StartFile();
    } else if (m_written + text.size() > m_limit) {
        SetAsideFullFile();
    }
    m_log->Write(1, "%.*s", static_cast<int>(text.size()), text.data());
    m_written += std::min(text.size(), CLog::kMaxRecord);
}

void CDiagnosticFile::StartFile() {
    // The whole path, as the daily logs do: on a fresh drive folder the
    // program's folders may not exist yet, and the file would stay unwritten.
    std::error_code ignored;
    std::filesystem::create_directories(m_folder, ignored);
    m_log = std::make_unique<CLog>(CLog::LOG_FILE, 4, m_name.c_str());
    m_written = 0;
}

void CDiagnosticFile::SetAsideFullFile() {
    const std::filesystem::path full = m_log->GetPath();
    m_log.reset();  // closes it
    std::error_code ignored;
    std::filesystem::rename(full, std::filesystem::path(full) += ".old", ignored);
    StartFile();
}

std::string CDiagnosticFile::Format(const char* format, va_list args) {
    char line[CLog::kMaxRecord + 1];
    std::vsnprintf(line, sizeof line, format, args);
    return line;
}

}  // namespace hx
