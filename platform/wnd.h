#pragma once
// A window: an object with a window procedure, reached through its handle.
// It belongs to the thread that created it; other threads only post or send
// to it.

#include <atomic>

#include "platform/window_types.h"

namespace hx {

class CWnd {
public:
    CWnd() = default;
    // Removes the window without WM_DESTROY: a derived class's handler is gone
    // by now, so windows that handle WM_DESTROY call DestroyWindow first.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Gives the window a new handle owned by the calling thread; false when it has one.
    virtual bool Create();
    // On the owner thread: sends WM_DESTROY, then removes the handle, stops the
    // window's timers and lets senders waiting on it go with 0. False when there
    // is no window or the caller does not own it.
    bool DestroyWindow();
    // Any thread may read the handle.
    HWND GetSafeHwnd() const { return m_hWnd.load(); }
    // The window of a handle; null when it is gone or belongs to another thread.
    static CWnd* FromHandle(HWND hwnd);

    // WM_CLOSE destroys the window; everything else gives 0.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    bool KillTimer(UINT_PTR id);

    // Windows are drawn by no one here: shown means a service view may show
    // it. Returns whether it was visible before.
    bool ShowWindow(int showCommand);
    bool IsWindowVisible() const { return m_visible; }

private:
    bool IsOwnedByCallingThread() const;
    void RemoveHandle();

    std::atomic<HWND> m_hWnd{0};
    bool m_destroying = false;
    bool m_visible = false;
};

}  // namespace hx
