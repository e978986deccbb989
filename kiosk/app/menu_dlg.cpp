#include "kiosk/app/menu_dlg.h"

#include "platform/message_loop.h"

namespace hx {

namespace {

constexpr int kIconOfState[] = {133, 132, 131};

bool IsShownState(int state) {
    return state >= 0 && state <= 2;
}

}  // namespace

CMenuDlg::CMenuDlg(stHooks hooks) : m_hooks(std::move(hooks)) {}

CMenuDlg::~CMenuDlg() {
    DestroyWindow();
    if (m_hooks.log) {
        m_hooks.log("트레이 창 닫음.");
    }
}

int CMenuDlg::IconResourceOf(int state) {
    return IsShownState(state) ? kIconOfState[state] : 0;
}

void CMenuDlg::OnInitDialog() {
    m_hasTrayIcon = true;
    m_shownIconState = 0;
    m_recordedState = 0;
}

LRESULT CMenuDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kChannelStateMessage:
            OnChannelState(wParam);
            return 0;
        case WM_TIMER:
            if (wParam == kStateTimer) {
                OnStateTimer();
                return 0;
            }
            break;
        case kTrayNotifyMessage:
            if (lParam == kRightButtonUp && m_hooks.showTrayMenu) {
                m_hooks.showTrayMenu();
            }
            return 0;
        case WM_COMMAND:
            if (wParam == kQuitCommand) {
                if (m_hooks.reportNormalEnd) {
                    m_hooks.reportNormalEnd();
                }
                Quit();
                return 0;
            }
            break;
        case kAcceptedMessageA:
            return 0;
        case kAcceptedMessageB:
            return 1;
        case WM_DESTROY:
            m_hasTrayIcon = false;
            break;
        default:
            break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CMenuDlg::Quit() {
    m_hasTrayIcon = false;
    if (m_hooks.kioskShutdown) {
        m_hooks.kioskShutdown();
    }
    PostQuitMessage(0);
}

void CMenuDlg::OnChannelState(WPARAM wParam) {
    KillTimer(kStateTimer);
    int state = static_cast<int>(wParam);
    if (wParam == kReapplyLastState) {
        state = m_hooks.lastChannelState ? m_hooks.lastChannelState() : m_recordedState;
    } else {
        SetTimer(kStateTimer, kStateTimerMs);
    }
    ShowStateIfChanged(state);
}

// The channel may have moved on since the message was posted; settle on the
// state it recorded last.
void CMenuDlg::OnStateTimer() {
    KillTimer(kStateTimer);
    if (m_hooks.lastChannelState) {
        ShowStateIfChanged(m_hooks.lastChannelState());
    }
}

void CMenuDlg::ShowStateIfChanged(int state) {
    if (state == m_recordedState) {
        return;
    }
    m_recordedState = state;
    if (IsShownState(state)) {
        m_shownIconState = state;
    }
}

}  // namespace hx
