#pragma once
// The command line of hxreg, which reads and writes the settings store the way
// the Windows reg tool reads and writes the registry.

#include <optional>
#include <string>
#include <vector>

#include "platform/registry_value.h"

namespace hx {

enum class enumRegVerb { Help, Query, Add, Delete };

struct stRegCommand {
    enumRegVerb verb = enumRegVerb::Help;
    std::optional<std::string> drive;        // --drive DIR
    std::string keyPath;                     // full path, root spelled in full
    std::optional<std::string> valueName;    // /v NAME
    stRegValue value = MakeStringValue("");  // /t TYPE /d DATA
    bool force = false;                      // /f
};

// Fills out from the arguments after the program name; false with a one-line
// error text ("ERROR: ...") when they do not form a valid command.
bool ParseRegCommand(const std::vector<std::string>& args, stRegCommand& out, std::string& error);

}  // namespace hx
