#include "kiosk/support/paths.h"

#include <string>

#include "platform/drive.h"

namespace hx {

namespace {

std::filesystem::path Compose(std::string_view windowsBase, std::string_view name) {
    std::string full(windowsBase);
    if (!name.empty()) {
        full += '\\';
        full += name;
    }
    return MapWindowsPath(full);
}

}  // namespace

std::filesystem::path GetProgramPath(std::string_view name) {
    return Compose("c:\\Harlix", name);
}

std::filesystem::path GetLogPath(std::string_view name) {
    return Compose("c:\\Harlix\\LogFiles", name);
}

std::filesystem::path GetSkinPath(std::string_view name) {
    return Compose("c:\\Harlix\\Skin", name);
}

}  // namespace hx
