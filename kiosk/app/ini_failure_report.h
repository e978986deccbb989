#pragma once
// Routes failed INI writes to the kiosk log, with the path as an operator
// knows it ("c:\Harlix\INI\SaveMoney.ini"), and to the server as device
// event 3000.

#include <filesystem>
#include <functional>
#include <string>

namespace hx {

// "%s 기록 실패. AppName=%s KeyName=%s Val=%s" with file, section, key and value.
std::string IniWriteFailureLine(const std::filesystem::path& file, const char* section,
                                const char* key, const char* value);

// reportEvent runs on the writing thread, which may be any.
void InstallIniWriteFailureReport(std::function<void()> reportEvent);

}  // namespace hx
