#pragma once
// What "vcatsim --help" prints.

#include <string>

namespace hx {

std::string VCatSimHelp();

}  // namespace hx
