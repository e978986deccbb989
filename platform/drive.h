#pragma once
// The drive folder stands in for drive C: of the kiosk PC. Every Windows path
// the kiosk uses ("c:\Harlix\INI\HXKiosk.ini") is mapped below it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hx {

// The folder given by --drive, else $HXKIOSK_DRIVE, else /var/lib/hxkiosk.
std::filesystem::path ResolveDriveFolder(const std::optional<std::string>& commandLineDrive);

// The drive folder of this process; set once at start-up, before other threads run.
void SetDriveFolder(const std::filesystem::path& folder);
std::filesystem::path GetDriveFolder();

// "c:\A\B" (any drive letter, either slash) maps to DRIVE/A/B. A path that is
// not absolute on a drive is returned with its separators turned into '/'.
std::filesystem::path MapWindowsPath(std::string_view windowsPath);
// The other way, for texts an operator reads: DRIVE/A/B gives "c:\A\B"; a
// path outside the drive folder is given as it is.
std::string WindowsFormOf(const std::filesystem::path& path);

// DRIVE/Harlix and DRIVE/Windows.
std::filesystem::path GetProgramFolder();
std::filesystem::path GetWindowsFolder();

}  // namespace hx
