#pragma once
// Reads a scenario file (JSON). Every mistake is reported with where it is,
// and nothing half-read is ever used: a scenario loads whole or not at all.

#include <filesystem>
#include <string>
#include <string_view>

#include "tools/frontdesk/scenario.h"

namespace hx {

// The picture folder is taken relative to baseFolder. False with the reason.
bool ParseScenario(std::string_view json, const std::filesystem::path& baseFolder,
                   stScenario& scenario, std::string& error);
// Reads the file; relative picture folders are relative to the file's folder.
bool LoadScenario(const std::filesystem::path& file, stScenario& scenario, std::string& error);

}  // namespace hx
