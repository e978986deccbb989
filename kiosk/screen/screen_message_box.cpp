#include "kiosk/screen/screen_message_box.h"

#include "kiosk/screen/shockwave_flash.h"
#include "kiosk/support/outside_text.h"

namespace hx {

CScreenMessageBox::CScreenMessageBox(CShockwaveflash& flash, LogSink log)
    : m_flash(flash), m_log(std::move(log)) {}

void CScreenMessageBox::Show(const std::string& caption, const std::string& text) {
    // The screen shows the server's whole text; the log keeps its start.
    m_log("메시지 상자 [" + CutOutsideText(caption) + "] " + CutOutsideText(text));
    m_flash.ShowMessageBox(caption, text);
}

}  // namespace hx
