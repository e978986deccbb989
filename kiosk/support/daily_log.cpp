#include "kiosk/support/daily_log.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "kiosk/support/kiosk_settings_defaults.h"
#include "kiosk/support/paths.h"
#include "platform/cp949.h"
#include "platform/envr.h"

namespace hx {

namespace {

// In CP949 a control byte is always a character of its own (trail bytes start
// at 0x41), so escaping the converted bytes catches every one of them.
bool IsControlByte(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// Text from outside may carry line breaks; written as they are, they would
// start a line that looks like the kiosk's own. They are shown instead.
std::string EscapeControlBytes(const std::string& cp949) {
    std::string escaped;
    escaped.reserve(cp949.size());
    for (const char byte : cp949) {
        const auto value = static_cast<unsigned char>(byte);
        if (!IsControlByte(value)) {
            escaped += byte;
        } else if (byte == '\r') {
            escaped += "\\r";
        } else if (byte == '\n') {
            escaped += "\\n";
        } else if (byte == '\t') {
            escaped += "\\t";
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", value);
            escaped += hex;
        }
    }
    return escaped;
}

// Opened and closed for every line, so each line is in the file when the
// writer returns and a crash loses nothing already logged.
void AppendLine(const std::filesystem::path& file, const std::string& bytes) {
    std::FILE* out = std::fopen(file.c_str(), "ab");
    if (out == nullptr) {
        return;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fflush(out);
    std::fclose(out);
}

}  // namespace

CDailyLogWriter::CDailyLogWriter(std::string prefix) : m_prefix(std::move(prefix)) {}

CDailyLogWriter::CDailyLogWriter(std::string prefix, std::string switchName, int switchDefault)
    : m_prefix(std::move(prefix)),
      m_switchName(std::move(switchName)),
      m_switchDefault(switchDefault) {}

void CDailyLogWriter::Write(std::string_view utf8Text) {
    WriteAt(GetLocalTimeNow(), utf8Text);
}

void CDailyLogWriter::WriteAt(const stLocalTime& time, std::string_view utf8Text) {
    if (!IsSwitchedOn()) {
        return;
    }
    const std::string line = LineFor(time, utf8Text);
    const std::filesystem::path folder = GetLogPath();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);

    std::lock_guard lock(m_lock);
    AppendLine(folder / FileNameFor(m_prefix, time), line);
}

std::string CDailyLogWriter::FileNameFor(std::string_view prefix, const stLocalTime& time) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", time.year, time.month, time.day);
    return std::string(prefix) + "-" + date + ".log";
}

std::string CDailyLogWriter::LineFor(const stLocalTime& time, std::string_view utf8Text) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "[%04d-%02d-%02d %02d:%02d:%02d.%03d]", time.year,
                  time.month, time.day, time.hour, time.minute, time.second, time.millisecond);
    return stamp + EscapeControlBytes(Cp949FromUtf8(utf8Text)) + "\r\n";
}

bool CDailyLogWriter::IsSwitchedOn() const {
    if (m_switchName.empty()) {
        return true;
    }
    return CEnvr(kRegistryApplication).GetInt("Settings", m_switchName.c_str(), m_switchDefault) ==
           1;
}

void HXKioskLog(std::string_view utf8Text) {
    static CDailyLogWriter writer("HXKioskLog");
    writer.Write(utf8Text);
}

void PCBLog(std::string_view utf8Text) {
    static CDailyLogWriter writer("PCBLog", "PCBLog", kDefaultPcbLog);
    writer.Write(utf8Text);
}

void DispenserLog(std::string_view utf8Text) {
    static CDailyLogWriter writer("DispenserLog", "DispenserLog", kDefaultDispenserLog);
    writer.Write(utf8Text);
}

}  // namespace hx
