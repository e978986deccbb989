#pragma once
// For tests and benchmarks: today's kiosk log on this process's drive folder,
// read back as UTF-8 while a kiosk may still be writing it.

#include <optional>
#include <regex>
#include <string>

#include "kiosk/support/daily_log.h"
#include "kiosk/support/paths.h"
#include "platform/cp949.h"
#include "platform/local_time.h"
#include "tests/support/file_text.h"
#include "tests/support/wait_until.h"

namespace hx {

inline std::string KioskLogText() {
    const auto file = GetLogPath(CDailyLogWriter::FileNameFor("HXKioskLog", GetLocalTimeNow()));
    return Utf8FromCp949(ReadWholeFile(file));
}

// Once the log (from byte `from` on: a kiosk started again on the same drive
// writes after its predecessor) matches `pattern`: the match's first group,
// or the whole match when it has none. The log as last read goes to `text`.
inline std::optional<std::string> WaitForKioskLog(const std::regex& pattern, std::string& text,
                                                  size_t from = 0) {
    std::smatch match;
    if (!WaitUntil([&] {
            const std::string log = KioskLogText();
            text = from < log.size() ? log.substr(from) : std::string();
            return std::regex_search(text, match, pattern);
        })) {
        return std::nullopt;
    }
    return match.size() > 1 ? match[1].str() : match[0].str();
}

inline std::optional<std::string> WaitForKioskLog(const std::regex& pattern) {
    std::string text;
    return WaitForKioskLog(pattern, text);
}

}  // namespace hx
