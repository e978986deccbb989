#include "kiosk/screen/main_dlg.h"

#include "kiosk/support/daily_log.h"
#include "kiosk/support/paths.h"
#include "kiosk/support/service_monitor.h"

namespace hx {

CMainDlg::CMainDlg(stServerRequests server, stScreenSettings screen)
    : m_screen(std::move(screen)),
      m_messageBox(m_flash, HXKioskLog),
      m_dispatcher(*this),
      m_catalogue(
          [this](std::string_view command, std::string_view args) { ReceiveScript(command, args); },
          std::move(server.requestPicture)),
      m_settings(m_catalogue, CKioskSettingsState::stHooks{
                                  [this](std::string_view command, std::string_view args) {
                                      ReceiveScript(command, args);
                                  },
                                  std::move(server.requestRoomList),
                                  GetLocalTimeNow,
                                  {},
                                  {}}) {}

CMainDlg::~CMainDlg() {
    SetChannelMessageBox(nullptr);
    m_flash.Close();
    DestroyWindow();
    HXKioskLog("키오스크 창 닫음.");
}

bool CMainDlg::Create() {
    return CDialog::Create() && m_flash.IsOpen();
}

void CMainDlg::OnInitDialog() {
    stMovieHostSettings host;
    host.port = m_screen.uiPort;
    host.webRoot = m_screen.webRoot;
    host.pictureFolder = GetSkinPath("RoomImage");
    const bool shown =
        m_flash.Open(host, [this](const std::string& command, const std::string& args) {
            m_dispatcher.Dispatch(command, args);
        });
    if (!shown) {
        return;  // Create reports it; the host has logged why
    }
    SetChannelMessageBox(&m_messageBox);
    m_settings.Start(*this);
}

LRESULT CMainDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && m_settings.OnTimer(wParam)) {
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CMainDlg::RunShutdownSteps() {
    MarkKioskQuit();
}

void CMainDlg::ReceiveScript(std::string_view command, std::string_view args) {
    m_flash.ReceiveScript(command, args);
}

void CMainDlg::OnInitKiosk() {
    m_catalogue.SetMovieReady(true);
    m_settings.AnswerInitKiosk();
}

void CMainDlg::OnSetHome(std::optional<bool> /*forgetSelection*/) {
    HXKioskLog("처음 화면으로 전환.");
    m_catalogue.SetSaleUnderway(false);
    m_catalogue.OnHomeScreen();
}

void CMainDlg::OnSetRoomData() {
    m_catalogue.SendRoomList();
}

void CMainDlg::OnSelectRoom(const std::string& /*text*/) {
    NotYetServed("SelectRoom");
}

void CMainDlg::OnSelectCheckInType(std::optional<int> /*roomNumber*/, const std::string& /*text*/) {
    NotYetServed("SelectCheckInType");
}

void CMainDlg::OnSetPay(const stPayChoice& /*choice*/) {
    NotYetServed("SetPay");
}

void CMainDlg::OnMakeTicket(const stTicketOrder& /*order*/) {
    NotYetServed("MakeTicket");
}

void CMainDlg::OnReturnRecvMoney() {
    NotYetServed("ReturnRecvMoney");
}

void CMainDlg::OnPopupConfig() {
    NotYetServed("PopupConfig");
}

void CMainDlg::OnTouchScreen(enumTouchedButton /*button*/) {
    NotYetServed("TouchScreen");
}

// The sale flow, cash, card payment and the administrator screens are not
// part of this build yet: their commands are logged, never half-served.
void CMainDlg::NotYetServed(std::string_view command) {
    HXKioskLog(std::string("화면 명령 미지원: ") + std::string(command));
}

}  // namespace hx
