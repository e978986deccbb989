#pragma once
// The message boxes of the channel and its request clients (the server's
// messages, "Ready!", a wait that timed out) shown on the customer screen,
// and written to the kiosk log so that the operator can read them later.

#include <functional>
#include <string>
#include <string_view>

#include "channel/net_channel_message_box.h"

namespace hx {

class CShockwaveflash;

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
