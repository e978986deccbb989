#pragma once
// What "prnsim --help" prints: the options, what the printer understands and
// does, the journal's events and the console commands; the console's "help"
// shows the commands' part.

#include <string>

namespace hx {

std::string PrnSimHelp();
// One indented line per command, each ending in a line end.
std::string PrnSimConsoleCommands();

}  // namespace hx
