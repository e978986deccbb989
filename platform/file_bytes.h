#pragma once
// Reading a whole file while telling a missing file from one that is there
// but cannot be read: the first holds nothing yet, the second must never be
// replaced by a file without its content.

#include <filesystem>
#include <optional>
#include <string>

namespace hx {

// The file's bytes; "" when it does not exist (nor its folder); nullopt when
// it exists but could not be read.
std::optional<std::string> ReadFileIfPresent(const std::filesystem::path& file);

}  // namespace hx
