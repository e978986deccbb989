#pragma once
// A dialog window and its modal loop.

#include "platform/window_types.h"
#include "platform/wnd.h"

namespace hx {

#ifndef IDOK
inline constexpr INT_PTR IDOK = 1;
#endif
#ifndef IDCANCEL
inline constexpr INT_PTR IDCANCEL = 2;
#endif

class CDialog : public CWnd {
public:
    // Creates the window, then runs OnInitDialog.
    bool Create() override;

    // Runs a nested message loop until EndDialog and returns its result. The
    // window is created first if needed, and then destroyed again. -1 when the
    // window cannot be created, is destroyed during the loop, or a quit request
    // ends the loop; the quit is posted again so the outer loop ends too.
    INT_PTR DoModal();
    // Ends the modal loop with `result` once the current message is handled.
    // Owner thread only; other threads send or post a message that calls it.
    void EndDialog(INT_PTR result);

    virtual void OnInitDialog() {}

    // WM_CLOSE ends the dialog with IDCANCEL; WM_DESTROY ends a modal loop not
    // yet ended with -1. Derived procedures pass on what they do not handle.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RunModalLoop();

    bool m_inModalLoop = false;
    bool m_endRequested = false;
    INT_PTR m_result = -1;
};

}  // namespace hx
