#include "kiosk/app/hx_kiosk_app.h"

#include "kiosk/app/daily_log.h"
#include "kiosk/app/ini_failure_report.h"
#include "platform/drive.h"
#include "platform/envr.h"
#include "platform/kiosk_settings_defaults.h"
#include "platform/message_loop.h"
#include "platform/quit_signals.h"

int CHxKioskApp::Run(const stCommandLine& commandLine) {
    if (!InitInstance(commandLine)) {
        return 1;
    }
    RunMessageLoop();
    ExitInstance();
    return 0;
}

bool CHxKioskApp::InitInstance(const stCommandLine& commandLine) {
    SetDriveFolder(ResolveDriveFolder(commandLine.drive));
    CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
    InstallIniWriteFailureReport();
    InstallQuitSignals(GetCurrentThreadId(), kQuitThreadMessage);
    HXKioskLog("HxKiosk 시작. 드라이브=" + GetDriveFolder().string());
    return true;
}

void CHxKioskApp::RunMessageLoop() {
    MSG msg{};
    while (GetMessage(&msg, 0, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        if (msg.hwnd == 0 && msg.message == kQuitThreadMessage) {
            m_bQuitRequested = true;
        }
        if (m_bQuitRequested) {
            break;
        }
    }
}

void CHxKioskApp::ExitInstance() {
    UninstallQuitSignals();
    HXKioskLog("HxKiosk 종료.");
}
