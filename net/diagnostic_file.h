#pragma once
// A diagnostic file that a whole library shares, e.g. "HxNet.log": one writer
// per process, started afresh whenever the drive folder changes (at start-up,
// or between tests), safe to write from any thread. A kiosk runs for months
// with packet traces on, so the file is bounded: past its limit it becomes
// "NAME.old" (replacing the one before) and a new file starts. Missing
// folders on the way to the file are created.

#include <cstdarg>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "net/log.h"

namespace hx {

class CDiagnosticFile {
public:
    static constexpr std::uintmax_t kDefaultLimit = 8 * 1024 * 1024;

    explicit CDiagnosticFile(std::string name, std::uintmax_t limitBytes = kDefaultLimit);

    // The text as it is: no line end added, no conversion.
    void Write(std::string_view text);

    // printf-style formatting, cut to one record.
    static std::string Format(const char* format, va_list args);

private:
    void StartFile();
    void SetAsideFullFile();

    std::mutex m_mutex;
    std::string m_name;
    std::uintmax_t m_limit;
    std::uintmax_t m_written = 0;
    std::unique_ptr<CLog> m_log;
    std::filesystem::path m_folder;
};

}  // namespace hx
