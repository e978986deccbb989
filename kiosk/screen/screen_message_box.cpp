#include "kiosk/screen/screen_message_box.h"

#include <cstdint>

#include "kiosk/screen/shockwave_flash.h"
#include "kiosk/support/outside_text.h"

namespace hx {

namespace {

// Hangul syllables and jamo, as their UTF-8 sequences encode them.
bool HasHangul(std::string_view utf8) {
    for (size_t at = 0; at + 2 < utf8.size(); ++at) {
        const auto lead = static_cast<uint8_t>(utf8[at]);
        if ((lead & 0xF0) != 0xE0) {
            continue;
        }
        const uint32_t code = (lead & 0x0Fu) << 12 |
                              (static_cast<uint8_t>(utf8[at + 1]) & 0x3Fu) << 6 |
                              (static_cast<uint8_t>(utf8[at + 2]) & 0x3Fu);
        if ((code >= 0xAC00 && code <= 0xD7A3) || (code >= 0x1100 && code <= 0x11FF) ||
            (code >= 0x3130 && code <= 0x318F)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsGuestMessageBox(std::string_view caption, std::string_view text) {
    return caption != kWaitTimeOutCaption && HasHangul(text);
}

CScreenMessageBox::CScreenMessageBox(CShockwaveflash& flash, LogSink log)
    : m_flash(flash), m_log(std::move(log)) {}

void CScreenMessageBox::Show(const std::string& caption, const std::string& text) {
    // The screen shows the server's whole text; the log keeps its start.
    const bool forGuests = IsGuestMessageBox(caption, text);
    m_log(std::string(forGuests ? "메시지 상자 [" : "메시지 상자 (운영자용, 화면에 표시 안 함) [") +
          CutOutsideText(caption) + "] " + CutOutsideText(text));
    if (forGuests) {
        m_flash.ShowMessageBox(caption, text);
    }
}

}  // namespace hx
