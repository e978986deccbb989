#include "channel/net_client_progress.h"

#include <cstdio>

#include "platform/message_loop.h"

namespace hx {

CProgressWnd::CProgressWnd(std::string message, uint32_t rangeMs, HWND centreOn)
    : m_message(std::move(message)), m_range(rangeMs), m_centreOn(centreOn) {}

void CProgressWnd::SetPos(uint32_t pos) {
    m_pos = pos < m_range ? pos : m_range;
    const int percent = m_range != 0 ? static_cast<int>(uint64_t{m_pos} * 100 / m_range) : 0;
    char title[64];
    std::snprintf(title, sizeof title, "%s [%d%%]", kTitle, percent);
    m_title = title;
}

void CProgressWnd::ProcessMessages() {
    const HWND hwnd = GetSafeHwnd();
    MSG msg;
    while (hwnd != 0 && PeekMessage(&msg, hwnd, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

LRESULT CProgressWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_COMMAND && wParam == static_cast<WPARAM>(IDCANCEL)) || message == WM_CLOSE) {
        m_cancelled = true;
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

}  // namespace hx
