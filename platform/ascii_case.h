#pragma once
// Case of ASCII letters only: the names the kiosk compares (settings, INI
// keys, picture files) come from a Windows world that ignores the case of
// ASCII letters and nothing else.

#include <string_view>

namespace hx {

char AsciiLower(char c);

// Whether two names are the same with ASCII letters matched regardless of
// case; other bytes (UTF-8 sequences among them) must be equal.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace hx
