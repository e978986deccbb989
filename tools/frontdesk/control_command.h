#pragma once
// One control command as typed: a verb, then words, "key=value" settings and
// an optional "to=N" naming the kiosk by terminal number ("to=all" or no "to"
// means every kiosk). Double quotes keep spaces inside a word or value; an "="
// inside quotes makes no setting.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/frontdesk/front_desk.h"

namespace hx {

struct stControlCommand {
    std::string verb;
    std::vector<std::string> words;
    std::vector<std::pair<std::string, std::string>> settings;  // in the order given
    KioskTarget target;
};

// False with the reason for an unterminated quote or a bad "to=". A blank
// line gives an empty verb.
bool ParseControlLine(std::string_view line, stControlCommand& command, std::string& error);

}  // namespace hx
