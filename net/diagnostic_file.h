#pragma once
// A diagnostic file that a whole library shares, e.g. "HxNet.log": one writer
// per process, started afresh whenever the drive folder changes (at start-up,
// or between tests), safe to write from any thread.

#include <cstdarg>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "net/log.h"

class CDiagnosticFile {
public:
    explicit CDiagnosticFile(std::string name);

    // The text as it is: no line end added, no conversion.
    void Write(std::string_view text);

    // printf-style formatting, cut to one record.
    static std::string Format(const char* format, va_list args);

private:
    std::mutex m_mutex;
    std::string m_name;
    std::unique_ptr<CLog> m_log;
    std::filesystem::path m_folder;
};
