#pragma once
// The message boxes of the channel and its request clients (the server's
// messages, "Ready!", a wait that timed out), written to the kiosk log so
// that the operator can read them later. Only boxes meant for guests reach
// the customer screen: the desk's notices, written in Korean. Operator
// messages (the English start-up answer "Ready!", a request's time-out)
// would only stand between a guest and the screen; they stay in the log.

#include <functional>
#include <string>
#include <string_view>

#include "channel/net_channel_message_box.h"

namespace hx {

class CShockwaveflash;

// True for a box a guest should see.
bool IsGuestMessageBox(std::string_view caption, std::string_view text);

class CScreenMessageBox : public CChannelMessageBox {
public:
    using LogSink = std::function<void(std::string_view utf8Line)>;

    CScreenMessageBox(CShockwaveflash& flash, LogSink log);
    void Show(const std::string& caption, const std::string& text) override;

private:
    CShockwaveflash& m_flash;
    LogSink m_log;
};

}  // namespace hx
