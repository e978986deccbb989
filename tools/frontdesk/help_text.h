#pragma once
// What "frontdesk --help" prints: the command line, the scenario format and
// the control commands.

#include <string>

namespace hx {

std::string FrontDeskHelp();

}  // namespace hx
