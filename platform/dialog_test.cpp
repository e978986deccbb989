#include "platform/dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/loop_test_support.h"

namespace hx {

namespace {

class CScriptedDialog : public CDialog {
public:
    std::function<void(CScriptedDialog&)> onInit;
    std::function<void(CScriptedDialog&, UINT, WPARAM)> onMessage;
    int initCount = 0;

    void OnInitDialog() override {
        ++initCount;
        if (onInit) {
            onInit(*this);
        }
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_USER && onMessage) {
            onMessage(*this, message, wParam);
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

// Ends the dialog with wParam when it receives WM_USER.
void EndOnUserMessage(CScriptedDialog& dialog, UINT message, WPARAM wParam) {
    if (message == WM_USER) {
        dialog.EndDialog(static_cast<INT_PTR>(wParam));
    }
}

using ModalDialog = CManualClockTest;

TEST_F(ModalDialog, EndsWithTheResultOfEndDialog) {
    CScriptedDialog dialog;
    dialog.onInit = [](CScriptedDialog& self) { self.PostMessage(WM_USER, 42); };
    dialog.onMessage = EndOnUserMessage;

    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.initCount, 1);
    EXPECT_EQ(dialog.GetSafeHwnd(), 0u);

    dialog.onInit = [](CScriptedDialog& self) { self.EndDialog(IDOK); };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.initCount, 2);
}

TEST_F(ModalDialog, EndDialogInAMessageSentFromAnotherThreadEndsTheLoop) {
    CScriptedDialog dialog;
    std::thread sender;
    dialog.onInit = [&sender](CScriptedDialog& self) {
        const HWND hwnd = self.GetSafeHwnd();
        sender = std::thread([hwnd] { SendMessage(hwnd, WM_USER, 7, 0); });
    };
    dialog.onMessage = EndOnUserMessage;

    EXPECT_EQ(dialog.DoModal(), 7);
    sender.join();
}

TEST_F(ModalDialog, QuitEndsTheLoopAndIsPostedAgain) {
    CScriptedDialog dialog;
    dialog.onInit = [](CScriptedDialog&) { PostQuitMessage(9); };

    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.GetSafeHwnd(), 0u);
    MSG msg;
    ASSERT_EQ(GetMessage(&msg), 0);
    EXPECT_EQ(msg.wParam, 9u);
}

TEST_F(ModalDialog, LeavesThreadMessagesToTheMainLoop) {
    CScriptedDialog dialog;
    dialog.onInit = [](CScriptedDialog& self) {
        PostThreadMessage(GetCurrentThreadId(), WM_USER + 3, 8, 0);
        self.PostMessage(WM_USER, 1);
    };
    dialog.onMessage = EndOnUserMessage;

    EXPECT_EQ(dialog.DoModal(), 1);
    MSG msg;
    do {  // past the dialog's own wake-up
        ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    } while (msg.message == WM_NULL);
    EXPECT_EQ(msg.message, WM_USER + 3u);
    EXPECT_EQ(msg.wParam, 8u);
}

TEST_F(ModalDialog, NestedDialogsEachEndTheirOwnLoop) {
    CScriptedDialog inner;
    inner.onInit = [](CScriptedDialog& self) { self.PostMessage(WM_USER, 5); };
    inner.onMessage = EndOnUserMessage;
    CScriptedDialog outer;
    outer.onInit = [](CScriptedDialog& self) { self.PostMessage(WM_USER + 1); };
    outer.onMessage = [&inner](CScriptedDialog& self, UINT message, WPARAM) {
        if (message == WM_USER + 1) {
            self.EndDialog(inner.DoModal() + 1);
        }
    };

    EXPECT_EQ(outer.DoModal(), 6);
    EXPECT_EQ(inner.GetSafeHwnd(), 0u);
}

TEST_F(ModalDialog, CloseCancelsAndDestroyingTheWindowEndsTheLoop) {
    CScriptedDialog closed;
    closed.onInit = [](CScriptedDialog& self) { self.PostMessage(WM_CLOSE); };
    EXPECT_EQ(closed.DoModal(), IDCANCEL);

    CScriptedDialog destroyed;
    destroyed.onInit = [](CScriptedDialog& self) { self.PostMessage(WM_USER); };
    destroyed.onMessage = [](CScriptedDialog& self, UINT, WPARAM) { self.DestroyWindow(); };
    EXPECT_EQ(destroyed.DoModal(), -1);
}

}  // namespace

}  // namespace hx
