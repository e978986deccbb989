#pragma once
// The running program's own executable file, so that an installed program
// finds the files installed beside it wherever it is started from.

#include <filesystem>

namespace hx {

// Absolute, with links resolved; empty when the system does not tell.
std::filesystem::path GetProgramFile();

}  // namespace hx
