#pragma once
// A tool's command line of "--name value" pairs and a lone "--help" (or -h).

#include <functional>
#include <string>
#include <vector>

namespace hx {

// Hands each pair to `read`, which says whether it knows the name and takes
// the value. `help` is set when help was asked for (the rest is then not
// read). False with the reason.
bool ParseOptionPairs(
    const std::vector<std::string>& args,
    const std::function<bool(const std::string& name, const std::string& value)>& read, bool& help,
    std::string& error);

}  // namespace hx
