#include "channel/net_channel_message_box.h"

#include <atomic>

#include "channel/net_channel_log.h"

namespace hx {

namespace {

class CLoggedMessageBox : public CChannelMessageBox {
public:
    void Show(const std::string& caption, const std::string& text) override {
        WriteChannelLog("message box [%s] %s", caption.c_str(), text.c_str());
    }
};

CLoggedMessageBox g_loggedBox;
std::atomic<CChannelMessageBox*> g_box{&g_loggedBox};

}  // namespace

void SetChannelMessageBox(CChannelMessageBox* box) {
    g_box = box != nullptr ? box : &g_loggedBox;
}

void ShowChannelMessageBox(const std::string& caption, const std::string& text) {
    g_box.load()->Show(caption, text);
}

}  // namespace hx
