#pragma once
// The kiosk's three base folders. Each function gives the base folder for an
// empty name (no trailing separator) and otherwise the base folder joined with
// the name; a name may use Windows separators ("INI\HXKiosk.ini").

#include <filesystem>
#include <string_view>

namespace hx {

std::filesystem::path GetProgramPath(std::string_view name = {});
std::filesystem::path GetLogPath(std::string_view name = {});
std::filesystem::path GetSkinPath(std::string_view name = {});

}  // namespace hx
