#include "platform/wnd.h"

#include <mutex>
#include <utility>

#include "platform/message_loop.h"
#include "platform/thread_queue.h"
#include "platform/window_registry.h"

namespace hx {

CWnd::~CWnd() {
    RemoveHandle();
}

bool CWnd::Create() {
    std::lock_guard lock(LoopMutex());
    if (m_hWnd.load() != 0) {
        return false;
    }
    m_hWnd.store(RegisterWindow(this, CurrentThreadQueue()));
    return true;
}

bool CWnd::DestroyWindow() {
    // A WM_DESTROY handler that destroys the window again must not recurse.
    if (m_destroying || !IsOwnedByCallingThread()) {
        return false;
    }
    m_destroying = true;
    WindowProc(WM_DESTROY, 0, 0);
    m_destroying = false;
    RemoveHandle();
    return true;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    std::lock_guard lock(LoopMutex());
    return FindOwnWindow(hwnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        DestroyWindow();
    }
    return 0;
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return hx::PostMessage(GetSafeHwnd(), message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return hx::SendMessage(GetSafeHwnd(), message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs) {
    return hx::SetTimer(GetSafeHwnd(), id, elapseMs);
}

bool CWnd::KillTimer(UINT_PTR id) {
    return hx::KillTimer(GetSafeHwnd(), id);
}

bool CWnd::ShowWindow(int showCommand) {
    return std::exchange(m_visible, showCommand != SW_HIDE);
}

bool CWnd::IsOwnedByCallingThread() const {
    std::lock_guard lock(LoopMutex());
    return m_hWnd.load() != 0 && FindOwnWindow(m_hWnd.load()) == this;
}

void CWnd::RemoveHandle() {
    std::lock_guard lock(LoopMutex());
    if (const HWND hwnd = m_hWnd.exchange(0); hwnd != 0) {
        UnregisterWindow(hwnd);
    }
}

}  // namespace hx
