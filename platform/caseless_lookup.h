#pragma once
// The room pictures' names come from the desk, whose world does not tell
// "305_0.PNG" from "305_0.png": looking a relative path up inside a folder
// with ASCII letters matched regardless of case, with the same confinement
// as LookUpInside.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/confined_path.h"

namespace hx {

// An exact match wins; otherwise each segment takes the first entry, in name
// order, that differs from it only in the case of ASCII letters.
stLookup LookUpInsideIgnoringCase(const std::filesystem::path& folder, std::string_view relative);

// The relative path ("/"-separated) as the folder's entries spell it, for
// naming a file that is to replace what is there: a segment that exists as
// written keeps its spelling, another takes the first entry, in name order,
// that differs from it only in case. Empty when some segment has no entry
// or is empty, "." or "..".
// Names only: confinement is LookUpInside's.
std::optional<std::string> SpellingInside(const std::filesystem::path& folder,
                                          std::string_view relative);

}  // namespace hx
