#pragma once
// Whole files in tests: read back byte for byte, written with their folders
// made, read as lines, and waited for until a line turns up in them (a log
// or a child's output that another process is still writing).

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/wait_until.h"

namespace hx {

// The file's bytes; empty when it is missing.
std::string ReadWholeFile(const std::filesystem::path& file);

// Replaces the file with `bytes`, making its folders first; false when it failed.
bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes);
bool WriteWholeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

// The file's lines without their line ends; none when it is missing.
std::vector<std::string> ReadLines(const std::filesystem::path& file);

// The first line of the file that `matches`, once there is one; nullopt when
// none came within `limit`.
std::optional<std::string> WaitForLine(const std::filesystem::path& file,
                                       const std::function<bool(const std::string&)>& matches,
                                       std::chrono::milliseconds limit = kTestPatience);

}  // namespace hx
