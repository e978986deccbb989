#pragma once
// The JSON frames of the screen socket: the page's commands in, the kiosk's
// calls and message boxes out.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace hx {

// One command of the page.
struct stPageCommand {
    std::string command;
    std::string args;
};

// The longest page frame accepted; the page's commands are short texts.
inline constexpr std::size_t kMaxPageFrameBytes = 64 * 1024;

// Reads one page frame. Anything but a JSON object with a string "fscommand"
// and a string (or absent) "args" gives nullopt and says why in `problem`.
std::optional<stPageCommand> ParsePageFrame(std::string_view frame, std::string& problem);
// The frame that carries one request to the page. Text that is not valid
// UTF-8 is sent with replacement characters rather than not at all.
std::string BuildInvokeFrame(std::string_view request);
// The frame of a message box with an OK button:
// {"messageBox": {"caption": CAPTION, "text": TEXT}}.
std::string BuildMessageBoxFrame(std::string_view caption, std::string_view text);

}  // namespace hx
