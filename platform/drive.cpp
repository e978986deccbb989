#include "platform/drive.h"

#include <cctype>
#include <cstdlib>
#include <mutex>

namespace hx {

namespace {

std::mutex g_driveMutex;
std::filesystem::path g_driveFolder = "/var/lib/hxkiosk";

bool StartsWithDriveLetter(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::string WithForwardSlashes(std::string_view path) {
    std::string out(path);
    for (char& c : out) {
        if (c == '\\') {
            c = '/';
        }
    }
    return out;
}

}  // namespace

std::filesystem::path ResolveDriveFolder(const std::optional<std::string>& commandLineDrive) {
    if (commandLineDrive && !commandLineDrive->empty()) {
        return *commandLineDrive;
    }
    if (const char* env = std::getenv("HXKIOSK_DRIVE"); env != nullptr && *env != '\0') {
        return env;
    }
    return "/var/lib/hxkiosk";
}

void SetDriveFolder(const std::filesystem::path& folder) {
    std::lock_guard lock(g_driveMutex);
    g_driveFolder = folder;
}

std::filesystem::path GetDriveFolder() {
    std::lock_guard lock(g_driveMutex);
    return g_driveFolder;
}

std::filesystem::path MapWindowsPath(std::string_view windowsPath) {
    if (!StartsWithDriveLetter(windowsPath)) {
        return WithForwardSlashes(windowsPath);
    }
    std::string rest = WithForwardSlashes(windowsPath.substr(2));
    while (!rest.empty() && rest.front() == '/') {
        rest.erase(rest.begin());
    }
    std::filesystem::path mapped = GetDriveFolder();
    return rest.empty() ? mapped : mapped / rest;
}

std::string WindowsFormOf(const std::filesystem::path& path) {
    std::filesystem::path drive = GetDriveFolder().lexically_normal();
    if (!drive.has_filename()) {
        drive = drive.parent_path();  // "/drive/" and "/drive" are one folder
    }
    const std::filesystem::path relative = path.lexically_normal().lexically_relative(drive);
    if (relative.empty() || *relative.begin() == "..") {
        return path.string();
    }
    std::string windows = "c:\\";
    if (relative != ".") {
        windows += relative.string();
    }
    for (char& c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windows;
}

std::filesystem::path GetProgramFolder() {
    return GetDriveFolder() / "Harlix";
}

std::filesystem::path GetWindowsFolder() {
    return GetDriveFolder() / "Windows";
}

}  // namespace hx
