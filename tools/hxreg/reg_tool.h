#pragma once
// hxreg: query, add and delete keys and values of the settings store from the
// command line, with the output and exit status of the Windows reg tool.

#include <ostream>
#include <string>
#include <vector>

namespace hx {

extern const char* const kHxRegUsage;

// Runs hxreg with the arguments after the program name; returns the exit
// status (0 success, 1 failure). Sets the process's drive folder.
int HxRegMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace hx
