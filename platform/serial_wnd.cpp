#include "platform/serial_wnd.h"

#include "platform/message_loop.h"
#include "platform/registered_messages.h"
#include "platform/wnd.h"

namespace hx {

CSerialWnd::~CSerialWnd() {
    CSerialWnd::Close();
}

UINT CSerialWnd::DefaultComMsg() {
    static const UINT message = RegisterWindowMessage("CSerialWnd_DefaultComMsg");
    return message;
}

LONG CSerialWnd::Open(std::string_view port, HWND hwnd, UINT message, LPARAM lParam, DWORD inQueue,
                      DWORD outQueue) {
    if (const LONG result = CSerialEx::Open(port, inQueue, outQueue, false);
        result != ERROR_SUCCESS) {
        return result;
    }
    m_hwndDest = hwnd;
    m_nComMsg = message != 0 ? message : DefaultComMsg();
    m_lParam = lParam;
    if (const LONG result = StartListener(); result != ERROR_SUCCESS) {
        Close();
        return SetResult(result);
    }
    return ERROR_SUCCESS;
}

LONG CSerialWnd::Close() {
    // The listener goes first: it reads the window and message it posts to.
    const LONG result = CSerialEx::Close();
    m_hwndDest = 0;
    m_nComMsg = 0;
    return result;
}

void CSerialWnd::OnSerialEvent(DWORD events, DWORD errors) {
    PostMessage(m_hwndDest.load(), m_nComMsg.load(), SerialEventWParam(events, errors),
                m_lParam.load());
}

void CSerialWnd::OnListenerEnded(LONG /*error*/) {
    OnSerialEvent(EV_ERR, CE_IOE);
}

LONG CSerialMFC::Open(std::string_view port, CWnd* wnd, UINT message, LPARAM lParam, DWORD inQueue,
                      DWORD outQueue) {
    return CSerialWnd::Open(port, wnd != nullptr ? wnd->GetSafeHwnd() : 0, message, lParam, inQueue,
                            outQueue);
}

}  // namespace hx
