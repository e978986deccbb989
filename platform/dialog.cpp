#include "platform/dialog.h"

#include "platform/kept_thread_messages.h"
#include "platform/message_loop.h"

namespace hx {

bool CDialog::Create() {
    if (!CWnd::Create()) {
        return false;
    }
    OnInitDialog();
    return true;
}

INT_PTR CDialog::DoModal() {
    if (m_inModalLoop) {
        return -1;
    }
    // Reset before creating: OnInitDialog may already end the dialog.
    m_endRequested = false;
    m_result = -1;
    m_inModalLoop = true;
    const bool createdHere = GetSafeHwnd() == 0;
    if (createdHere && !Create()) {
        m_inModalLoop = false;
        return -1;
    }
    RunModalLoop();
    m_inModalLoop = false;
    if (createdHere) {
        DestroyWindow();
    }
    return m_result;
}

void CDialog::EndDialog(INT_PTR result) {
    m_result = result;
    m_endRequested = true;
    if (m_inModalLoop) {
        // EndDialog may run inside a sent message, which GetMessage handles
        // without returning; a posted message makes it return.
        PostThreadMessage(GetCurrentThreadId(), WM_NULL, 0, 0);
    }
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            EndDialog(IDCANCEL);
            return 0;
        case WM_DESTROY:
            if (m_inModalLoop && !m_endRequested) {
                EndDialog(-1);
            }
            return 0;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CDialog::RunModalLoop() {
    CKeptThreadMessages forMainLoop;
    MSG msg;
    while (!m_endRequested && GetSafeHwnd() != 0) {
        if (GetMessage(&msg) == 0) {
            m_result = -1;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (forMainLoop.Keep(msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

}  // namespace hx
