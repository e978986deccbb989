#pragma once
// Routes failed INI writes to the kiosk log (and, once device events exist,
// to the server as event 3000).

#include <filesystem>
#include <string>

namespace hx {

// "%s 기록 실패. AppName=%s KeyName=%s Val=%s" with file, section, key and value.
std::string IniWriteFailureLine(const std::filesystem::path& file, const char* section,
                                const char* key, const char* value);

void InstallIniWriteFailureReport();

}  // namespace hx
