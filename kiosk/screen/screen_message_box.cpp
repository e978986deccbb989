#include "kiosk/screen/screen_message_box.h"

#include "kiosk/screen/shockwave_flash.h"

namespace hx {

CScreenMessageBox::CScreenMessageBox(CShockwaveflash& flash, LogSink log)
    : m_flash(flash), m_log(std::move(log)) {}

void CScreenMessageBox::Show(const std::string& caption, const std::string& text) {
    m_log("메시지 상자 [" + caption + "] " + text);
    m_flash.ShowMessageBox(caption, text);
}

}  // namespace hx
