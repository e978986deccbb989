#pragma once
// Private-profile INI files and Win.ini. Lookup rules are those of
// CIniDocument: names match without regard to ASCII case, blanks around names
// and values are dropped, a value in matching quotes loses them, lines that
// start with ';' are comments. Files are CP949 on disk; strings here are UTF-8.
// Every write replaces the whole file atomically, so a crash never leaves a
// torn file, and the lines a write does not touch are kept.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/windows_names.h"

namespace hx {

// The read buffer the kiosk uses for INI values ("RoomImages.ini" is read with 255).
inline constexpr size_t kIniBufferSize = 1024;

// The value, or defaultValue when the file, section or key is missing, cut to
// at most bufferSize - 1 CP949 bytes without splitting a character.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue,
                                    const std::filesystem::path& file,
                                    size_t bufferSize = kIniBufferSize);

// The value read as text, converted with AsciiToInt; defaultValue when missing.
int GetPrivateProfileNumber(std::string_view section, std::string_view key, int defaultValue,
                            const std::filesystem::path& file);

// Plain ascii-to-integer: leading blanks, an optional sign, then digits up to
// the first non-digit. Text without digits gives 0; values beyond the range of
// int are clamped to it.
int AsciiToInt(std::string_view text);

// Sets section/key to value. A null value deletes the key, a null key the whole
// section. The file is created when missing; its folder must exist. Returns
// false, and calls the failure hook, when the file could not be written, when
// section is null, or when a line break in the names or the value (or "]" in
// the section, "=" in the key) would break the file's structure.
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::filesystem::path& file);

struct stIniEntry {
    std::string key;
    std::string value;
};

// Sets every entry of section in one replacement of the file, so values that
// belong together are never found half new, half old. On failure the hook is
// called once for each entry.
bool WritePrivateProfileKeys(std::string_view section, std::span<const stIniEntry> entries,
                             const std::filesystem::path& file);

// Called after every failed write, on the writing thread, with the arguments
// of the write (key and value are null for deletions). Process-wide; an empty
// function removes it.
using IniWriteFailureHook = std::function<void(
    const std::filesystem::path& file, const char* section, const char* key, const char* value)>;
void SetIniWriteFailureHook(IniWriteFailureHook hook);

// win.ini in the Windows folder of the drive, and profile access to it.
std::filesystem::path GetWinIniPath();
std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, size_t bufferSize = kIniBufferSize);
bool WriteProfileString(const char* section, const char* key, const char* value);

}  // namespace hx
