#pragma once
// The tray window: the application's main window. It shows the channel state
// as the tray icon (kept here for the service view, which draws it) and runs
// the orderly quit.

#include <functional>
#include <string_view>

#include "platform/dialog.h"

namespace hx {

class CMenuDlg : public CDialog {
public:
    static constexpr UINT kTrayNotifyMessage = 1044;
    static constexpr UINT kChannelStateMessage = 1049;
    static constexpr UINT kAcceptedMessageA = 1051;
    static constexpr UINT kAcceptedMessageB = 1052;
    static constexpr UINT_PTR kStateTimer = 11;
    static constexpr UINT kStateTimerMs = 100;
    static constexpr UINT kQuitCommand = 32772;  // tray menu item "종료"
    static constexpr LPARAM kRightButtonUp = 517;
    static constexpr WPARAM kReapplyLastState = static_cast<WPARAM>(-1);
    static constexpr int kNoIcon = -1;

    struct stHooks {
        std::function<int()> lastChannelState;      // as recorded by the channel window
        std::function<void()> kioskShutdown;        // the kiosk window's shutdown steps
        std::function<void()> showTrayMenu;         // the service view's tray menu, if any
        std::function<void(std::string_view)> log;  // where its closing is logged, if anywhere
        std::function<void()> reportNormalEnd;      // before a quit from the tray menu
    };

    explicit CMenuDlg(stHooks hooks);
    ~CMenuDlg() override;

    void OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Removes the tray icon, runs the kiosk window's shutdown steps and posts
    // the quit message.
    void Quit();

    bool HasTrayIcon() const { return m_hasTrayIcon; }
    // The state whose icon is shown: 0 closed, 1 connecting, 2 connected.
    int GetShownIconState() const { return m_shownIconState; }
    // Tray icon resource of a state: 133, 132, 131 for states 0, 1, 2.
    static int IconResourceOf(int state);

private:
    void OnChannelState(WPARAM wParam);
    void OnStateTimer();
    void ShowStateIfChanged(int state);

    stHooks m_hooks;
    bool m_hasTrayIcon = false;
    int m_shownIconState = kNoIcon;
    int m_recordedState = kNoIcon;
};

}  // namespace hx
