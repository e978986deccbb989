#pragma once
// Where the channel and its request clients show their message boxes: the
// server's command 20 and the time-out of a wait. Showing never blocks the
// caller, so receiving goes on while the box is up. Until the application
// installs its own, boxes are written to the channel's diagnostic log.

#include <string>
#include <string_view>

namespace hx {

// The caption of the box a request client shows when its wait timed out.
inline constexpr std::string_view kWaitTimeOutCaption = "작업 시간 초과";

class CChannelMessageBox {
public:
    virtual ~CChannelMessageBox() = default;
    // An OK box over every window. Returns at once; called on whichever thread
    // receives or waits, so implementations hand the box to their own thread.
    virtual void Show(const std::string& caption, const std::string& text) = 0;
};

// Process-wide; null restores the logging default. The box must outlive its use.
void SetChannelMessageBox(CChannelMessageBox* box);
void ShowChannelMessageBox(const std::string& caption, const std::string& text);

}  // namespace hx
