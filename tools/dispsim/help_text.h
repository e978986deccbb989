#pragma once
// What "dispsim --help" prints: the options, the device's behaviour and the
// console commands.

#include <string>

namespace hx {

std::string DispSimHelp();

}  // namespace hx
