#pragma once
// The application object: start-up, the main thread's message loop and an
// orderly teardown. It creates the kiosk's windows and connects them: the
// kiosk window's requests go out on the channel window, and the server's
// messages reach the kiosk window through the router. The devices join
// start-up here as they are built.

#include <atomic>
#include <memory>
#include <string_view>

#include "kiosk/app/command_line.h"
#include "kiosk/app/menu_dlg.h"
#include "kiosk/app/server_message_router.h"
#include "kiosk/screen/main_dlg.h"
#include "kiosk/server/channel_dlg.h"
#include "kiosk/server/re_sender.h"
#include "platform/named_mutex.h"

namespace hx {

class CHxKioskApp {
public:
    // Thread message that asks the kiosk to quit (also posted on SIGTERM/SIGINT).
    static constexpr unsigned kQuitThreadMessage = 1050;
    static constexpr const char* kInstanceMutexName = "MUTEX_HX_KIOSK";

    // Runs the kiosk until it is told to quit; returns the process exit code.
    int Run(const stCommandLine& commandLine);

private:
    // 0 once the kiosk runs, else the exit status that says why it did not.
    int InitInstance(const stCommandLine& commandLine);
    // False when the kiosk window cannot show the customer screen.
    bool CreateWindows(const stCommandLine& commandLine);
    bool CreateKioskWindow(const stCommandLine& commandLine);
    void RunShutdownSteps();
    void RunMessageLoop();
    // Tears everything down in order; `lastLine` is logged just before the
    // instance mutex goes.
    void ExitInstance(std::string_view lastLine);

    CNamedMutex m_instanceMutex;
    std::unique_ptr<CChannelDlg> m_pChannelWnd;
    std::unique_ptr<CMenuDlg> m_pTrayWnd;
    std::unique_ptr<CReSender> m_pReSender;  // reports the server must acknowledge
    std::unique_ptr<CMainDlg> m_pMainWnd;
    // The kiosk window while it exists, for reports from other threads.
    std::atomic<CMainDlg*> m_kioskWindow{nullptr};
    std::unique_ptr<CServerMessageRouter> m_pServerRouter;  // server to kiosk window
    bool m_bQuitRequested = false;
};

}  // namespace hx
