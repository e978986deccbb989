#pragma once
// The small window a request client shows while a wait runs long: a message,
// a bar that fills up to the wait's limit, the time spent so far and a cancel
// button that only sets a flag, which the wait reads. The window is kept as
// its texts and values; the screen draws it from them.

#include <cstdint>
#include <string>

#include "platform/dialog.h"
#include "platform/windows_names.h"

namespace hx {

struct stProgressColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

class CProgressWnd : public CDialog {
public:
    static constexpr int kWidth = 390;
    static constexpr int kHeight = 130;
    static constexpr stProgressColour kBarColour = {0x33, 0x66, 0xCC};
    static constexpr const char* kTitle = "Progress";
    static constexpr const char* kCancelText = " 취소 ";

    // The bar runs from 0 to rangeMs. centreOn: the window to centre on, 0 for
    // the thread's main window.
    CProgressWnd(std::string message, uint32_t rangeMs, HWND centreOn);

    // Moves the bar; the title shows the percentage.
    void SetPos(uint32_t pos);
    void SetStatusText(std::string text) { m_statusText = std::move(text); }
    // Handles what waits for this window, such as a press of cancel.
    void ProcessMessages();
    bool IsCancelled() const { return m_cancelled; }

    const std::string& GetTitle() const { return m_title; }
    const std::string& GetMessageText() const { return m_message; }
    const std::string& GetStatusText() const { return m_statusText; }
    uint32_t GetPos() const { return m_pos; }
    uint32_t GetRange() const { return m_range; }
    HWND GetCentreOn() const { return m_centreOn; }

    // Cancel (IDCANCEL) and closing the window set the flag.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string m_message;
    uint32_t m_range;
    HWND m_centreOn;
    std::string m_title = kTitle;
    std::string m_statusText;
    uint32_t m_pos = 0;
    bool m_cancelled = false;
};

}  // namespace hx
