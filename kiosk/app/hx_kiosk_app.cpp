#include "kiosk/app/hx_kiosk_app.h"

#include <string>
#include <string_view>

#include "channel/net_client.h"
#include "kiosk/app/ini_failure_report.h"
#include "kiosk/app/interrupted_downloads.h"
#include "kiosk/app/web_root.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/server/report_requests.h"
#include "kiosk/server/server_requests.h"
#include "kiosk/support/daily_log.h"
#include "kiosk/support/device_event_text.h"
#include "kiosk/support/float_counts.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "kiosk/support/paths.h"
#include "kiosk/support/service_monitor.h"
#include "platform/drive.h"
#include "platform/envr.h"
#include "platform/message_loop.h"
#include "platform/quit_signals.h"

namespace hx {

namespace {

constexpr int kStarted = 0;
constexpr int kExitSecondInstance = 3;
constexpr int kExitNoScreen = 4;

CMainDlg::stServerRequests RequestsOn(CNetChannel* channel, CReSender* reports) {
    return {
        [channel](int index, const std::string& name) {
            return SendPictureRequest(channel, index, name) == 1;
        },
        [channel] { return SendRoomListRequest(channel) == 1; },
        [reports](int code, std::string_view text) { SendStepReport(reports, code, text); },
        [reports](int code, bool cleared, std::string_view text) {
            return SendDeviceEvent(reports, code, cleared, text) == CReSender::HANDED_SENDING;
        },
        [reports](const std::array<bool, 4>& rose) {
            SendCashInReport(reports, {rose[0] ? 1 : 0, rose[1] ? 1 : 0, rose[2] ? 1 : 0});
        },
        [reports](const stPaidOut& paid) {
            SendPayoutReport(reports, {paid.notes1000, paid.notes5000, paid.notes10000},
                             paid.keyCards);
        },
        [channel](const stSaleRequest& request) { return SendSaleRequest(channel, request) == 1; },
        [channel] { return channel->IsAlive() == 1; }};
}

stMoneyReport FloatReportNow() {
    const stFloatCounts counts = LoadFloatCounts();
    return {CMD_FLOAT_REPORT,  counts.notes1000, counts.notes5000,
            counts.notes10000, counts.keyCards,  0};
}

}  // namespace

int CHxKioskApp::Run(const stCommandLine& commandLine) {
    if (const int failure = InitInstance(commandLine); failure != kStarted) {
        return failure;
    }
    RunMessageLoop();
    ExitInstance("HxKiosk 종료.");
    return 0;
}

int CHxKioskApp::InitInstance(const stCommandLine& commandLine) {
    SetDriveFolder(ResolveDriveFolder(commandLine.drive));
    CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
    InstallIniWriteFailureReport([this] {
        if (CMainDlg* window = m_kioskWindow) {
            window->PostEvent(EVENT_INI_WRITE_FAILED, false);
        }
    });
    // A second kiosk leaves the running one and its registry values alone.
    if (!m_instanceMutex.TryAcquire(kInstanceMutexName)) {
        HXKioskLog("HxKiosk 이미 실행 중. 종료.");
        return kExitSecondInstance;
    }
    MarkKioskRunning();
    // Only now: a second kiosk must not touch the running one's downloads.
    RemoveInterruptedDownloads(CRoomPictures::DefaultPlaces(), HXKioskLog);
    CNetClient::SetShowProgress(
        CEnvr(kRegistryApplication).GetInt("Settings", "ShowProgress", kDefaultShowProgress));
    InstallQuitSignals(GetCurrentThreadId(), kQuitThreadMessage);
    if (!CreateWindows(commandLine)) {
        // A kiosk without its screen cannot sell. The service monitor's
        // values stay as a crash leaves them, so the monitor sees the failure.
        ExitInstance("화면을 열 수 없어 HxKiosk 종료.");
        return kExitNoScreen;
    }
    SendStartupNotice(m_pChannelWnd.get());
    HXKioskLog("HxKiosk 시작. 드라이브=" + GetDriveFolder().string());
    return kStarted;
}

// The channel window first, so the link is coming up while the rest is built;
// what the server sends before the kiosk window exists is held for it.
bool CHxKioskApp::CreateWindows(const stCommandLine& commandLine) {
    m_pChannelWnd = std::make_unique<CChannelDlg>();
    m_pChannelWnd->Create();
    m_pTrayWnd = std::make_unique<CMenuDlg>(
        CMenuDlg::stHooks{GetLastChannelState,
                          [this] { RunShutdownSteps(); },
                          {},
                          HXKioskLog,
                          [this] { m_pMainWnd->ReportEvent(EVENT_NORMAL_END, false); }});
    m_pTrayWnd->Create();
    m_pChannelWnd->SetTrayWindow(m_pTrayWnd->GetSafeHwnd());
    // The channel reported its first states before the tray existed.
    m_pTrayWnd->PostMessage(CMenuDlg::kChannelStateMessage, CMenuDlg::kReapplyLastState, 0);
    return CreateKioskWindow(commandLine);
}

// The kiosk window's requests go out on the channel window's link, and the
// server's messages reach the window through the router.
bool CHxKioskApp::CreateKioskWindow(const stCommandLine& commandLine) {
    m_pReSender = std::make_unique<CReSender>(
        m_pChannelWnd.get(), GetLogPath("ReSend.log"),
        CReSender::stHooks{
            FloatReportNow,
            [this](std::string_view command) { m_pMainWnd->PostScript(command, {}); }, HXKioskLog});
    m_pMainWnd = std::make_unique<CMainDlg>(
        RequestsOn(m_pChannelWnd.get(), m_pReSender.get()),
        CMainDlg::stScreenSettings{static_cast<uint16_t>(commandLine.uiPort),
                                   ResolveWebRoot(commandLine.webRoot),
                                   commandLine.cardTerminalPort});
    m_pServerRouter = std::make_unique<CServerMessageRouter>(
        m_pMainWnd->Catalogue(), m_pMainWnd->Settings(),
        [screen = m_pMainWnd.get()](std::string_view command, std::string_view args) {
            screen->ReceiveScript(command, args);
        },
        CServerMessageRouter::stHooks{[screen = m_pMainWnd.get()](const stSaleAnswer& answer) {
                                          screen->OnSaleAnswer(answer);
                                      },
                                      [this] { m_pReSender->QueueReplay(); },
                                      [screen = m_pMainWnd.get()] { screen->OnServerLost(); }});
    if (!m_pMainWnd->Create()) {
        return false;
    }
    m_kioskWindow = m_pMainWnd.get();
    m_pReSender->Start();
    // Messages the server sent while the kiosk window did not exist arrive now.
    m_pChannelWnd->SetServerEvents(m_pServerRouter.get());
    return true;
}

// The quit routine's part of the kiosk window: its own steps, then the
// resend thread (a report it was sending stays in the resend file).
void CHxKioskApp::RunShutdownSteps() {
    m_pMainWnd->RunShutdownSteps();
    m_pReSender->Stop();
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

// The tray first: its quit hook reaches into the kiosk window. Then the link,
// so no server message reaches the kiosk window while it goes. The mutex
// last, so a new kiosk cannot start while this one still holds the link or
// the screen's port.
void CHxKioskApp::ExitInstance(std::string_view lastLine) {
    m_pTrayWnd.reset();
    m_kioskWindow = nullptr;
    m_pChannelWnd->SetServerEvents(nullptr);
    m_pReSender.reset();  // it uses the channel
    m_pChannelWnd.reset();
    m_pServerRouter.reset();
    m_pMainWnd.reset();
    UninstallQuitSignals();
    HXKioskLog(lastLine);
    m_instanceMutex.Release();
}

}  // namespace hx
