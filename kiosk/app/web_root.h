#pragma once
// Where the customer screen's files are. An installed kiosk keeps them in
// its share folder beside its program folder, and the build tree mirrors
// that layout, so a kiosk started from any folder finds its screen.

#include <filesystem>
#include <optional>
#include <string>

namespace hx {

// The folder given on the command line, else the one beside the program.
std::filesystem::path ResolveWebRoot(const std::optional<std::string>& fromCommandLine);

}  // namespace hx
