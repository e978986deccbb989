#pragma once
// Text from outside the kiosk (server texts, page commands, URIs, file names)
// goes into a log line only cut to a bounded length: a broken or hostile peer
// must not fill the disk through the log.

#include <cstddef>
#include <string>
#include <string_view>

namespace hx {

// Measured on the CP949 bytes the log is written in. Above the longest
// Windows path, so an ordinary file name is never cut.
inline constexpr size_t kMaxOutsideTextBytes = 512;

// The text itself when its CP949 form fits in kMaxOutsideTextBytes; else its
// longest start that fits, never split inside a character, followed by a mark
// that says it was cut and how long it was.
std::string CutOutsideText(std::string_view utf8);

}  // namespace hx
