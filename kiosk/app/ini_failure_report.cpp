#include "kiosk/app/ini_failure_report.h"

#include "kiosk/support/daily_log.h"
#include "platform/drive.h"
#include "platform/ini_file.h"

namespace hx {

namespace {

std::string OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

}  // namespace

std::string IniWriteFailureLine(const std::filesystem::path& file, const char* section,
                                const char* key, const char* value) {
    return WindowsFormOf(file) + " 기록 실패. AppName=" + OrEmpty(section) +
           " KeyName=" + OrEmpty(key) + " Val=" + OrEmpty(value);
}

void InstallIniWriteFailureReport(std::function<void()> reportEvent) {
    SetIniWriteFailureHook([reportEvent = std::move(reportEvent)](
                               const std::filesystem::path& file, const char* section,
                               const char* key, const char* value) {
        HXKioskLog(IniWriteFailureLine(file, section, key, value));
        if (reportEvent) {
            reportEvent();
        }
    });
}

}  // namespace hx
