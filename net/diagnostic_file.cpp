#include "net/diagnostic_file.h"

#include <cstdio>

CDiagnosticFile::CDiagnosticFile(std::string name) : m_name(std::move(name)) {}

void CDiagnosticFile::Write(std::string_view text) {
    std::lock_guard lock(m_mutex);
    if (!m_log || m_folder != CLog::DiagnosticFolder()) {
        m_folder = CLog::DiagnosticFolder();
        m_log = std::make_unique<CLog>(CLog::LOG_FILE, 4, m_name.c_str());
    }
    m_log->Write(1, "%.*s", static_cast<int>(text.size()), text.data());
}

std::string CDiagnosticFile::Format(const char* format, va_list args) {
    char line[CLog::kMaxRecord + 1];
    std::vsnprintf(line, sizeof line, format, args);
    return line;
}
