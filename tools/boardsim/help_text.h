#pragma once
// What "boardsim --help" prints: the options and the console commands.

#include <string>

namespace hx {

std::string BoardSimHelp();

}  // namespace hx
