#include "kiosk/app/hx_kiosk_app.h"

#include "channel/net_client.h"
#include "kiosk/app/daily_log.h"
#include "kiosk/app/ini_failure_report.h"
#include "kiosk/app/service_monitor.h"
#include "platform/drive.h"
#include "platform/envr.h"
#include "platform/kiosk_settings_defaults.h"
#include "platform/message_loop.h"
#include "platform/quit_signals.h"

namespace {

constexpr int kExitSecondInstance = 3;

}  // namespace

int CHxKioskApp::Run(const stCommandLine& commandLine) {
    if (!InitInstance(commandLine)) {
        return kExitSecondInstance;
    }
    RunMessageLoop();
    ExitInstance();
    return 0;
}

bool CHxKioskApp::InitInstance(const stCommandLine& commandLine) {
    SetDriveFolder(ResolveDriveFolder(commandLine.drive));
    CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
    InstallIniWriteFailureReport();
    // A second kiosk leaves the running one and its registry values alone.
    if (!m_instanceMutex.TryAcquire(kInstanceMutexName)) {
        HXKioskLog("HxKiosk 이미 실행 중. 종료.");
        return false;
    }
    MarkKioskRunning();
    CNetClient::SetShowProgress(
        CEnvr(kRegistryApplication).GetInt("Settings", "ShowProgress", kDefaultShowProgress));
    InstallQuitSignals(GetCurrentThreadId(), kQuitThreadMessage);
    CreateWindows();
    HXKioskLog("HxKiosk 시작. 드라이브=" + GetDriveFolder().string());
    return true;
}

void CHxKioskApp::CreateWindows() {
    m_pTrayWnd = std::make_unique<CMenuDlg>(CMenuDlg::stHooks{{}, MarkKioskQuit, {}});
    m_pTrayWnd->Create();
}

void CHxKioskApp::RunMessageLoop() {
    MSG msg{};
    while (GetMessage(&msg, 0, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        if (msg.hwnd == 0 && msg.message == kQuitThreadMessage) {
            m_pTrayWnd->Quit();
            m_bQuitRequested = true;
        }
        if (m_bQuitRequested) {
            break;
        }
    }
}

void CHxKioskApp::ExitInstance() {
    m_pTrayWnd.reset();
    UninstallQuitSignals();
    HXKioskLog("HxKiosk 종료.");
    m_instanceMutex.Release();
}
