#pragma once
// Daily text logs for the operator and the service technician: one file per
// kind and calendar day under the log folder, one time-stamped line per entry.

#include <mutex>
#include <string>
#include <string_view>

#include "platform/local_time.h"

namespace hx {

class CDailyLogWriter {
public:
    // A log that is always written.
    explicit CDailyLogWriter(std::string prefix);
    // A log written only while the Settings value switchName equals 1; the
    // switch is read at every entry, so a change takes effect at once.
    CDailyLogWriter(std::string prefix, std::string switchName, int switchDefault);

    void Write(std::string_view utf8Text);
    // The line is stamped and filed by the given time (a line written at
    // 23:59:59.999 goes to that day's file).
    void WriteAt(const stLocalTime& time, std::string_view utf8Text);

    static std::string FileNameFor(std::string_view prefix, const stLocalTime& time);
    // Control characters of the text are written as escapes (\r, \n, \t,
    // \x1B), so no text, wherever it came from, ends the line or starts
    // another.
    static std::string LineFor(const stLocalTime& time, std::string_view utf8Text);

private:
    bool IsSwitchedOn() const;

    std::string m_prefix;
    std::string m_switchName;
    int m_switchDefault = 1;
    std::mutex m_lock;
};

// The kiosk log, always written.
void HXKioskLog(std::string_view utf8Text);
// The control board log, written while Settings\PCBLog is 1.
void PCBLog(std::string_view utf8Text);
// The card dispenser log, written while Settings\DispenserLog is 1.
void DispenserLog(std::string_view utf8Text);

}  // namespace hx
