#pragma once
// Looking a relative path up inside a folder so that nothing outside the
// folder can be reached: no dot or empty segments, no backslashes, and a
// symbolic link counts only when what it leads to still lies inside.

#include <filesystem>
#include <string_view>

namespace hx {

enum class enumLookup { Found, Missing, Refused };

struct stLookup {
    enumLookup result = enumLookup::Missing;  // Refused: outside the folder, or not a clean path
    std::filesystem::path file;
};

// Found: file is the real path of a regular file inside the folder.
stLookup LookUpInside(const std::filesystem::path& folder, std::string_view relative);

}  // namespace hx
