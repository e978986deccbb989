#pragma once
// The kiosk window: hosts the customer screen and keeps what the screen
// shows — the rooms, the server's configuration and options, the stay types
// sold at this hour — and answers the screen's commands. The sale flow and
// the device windows join here as they are built.

#include <filesystem>
#include <memory>
#include <string>

#include "kiosk/screen/kiosk_settings_state.h"
#include "kiosk/screen/movie_commands.h"
#include "kiosk/screen/room_catalogue.h"
#include "kiosk/screen/screen_message_box.h"
#include "kiosk/screen/shockwave_flash.h"
#include "kiosk/server/server_message_router.h"
#include "platform/dialog.h"

namespace hx {

class CChannelDlg;

class CMainDlg : public CDialog, private CMovieCommandHandler {
public:
    struct stScreenSettings {
        uint16_t uiPort = 8049;
        std::filesystem::path webRoot;
    };

    CMainDlg(CChannelDlg& channel, stScreenSettings screen);
    ~CMainDlg() override;

    void OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Run by the tray window's quit routine before the loop ends.
    void RunShutdownSteps();

    uint16_t GetScreenPort() const { return m_flash.GetPort(); }

private:
    void ReceiveScript(std::string_view command, std::string_view args);

    // What the screen asks of the kiosk.
    void OnInitKiosk() override;
    void OnSetHome(std::optional<bool> forgetSelection) override;
    void OnSetRoomData() override;
    void OnSelectRoom(const std::string& text) override;
    void OnSelectCheckInType(std::optional<int> roomNumber, const std::string& text) override;
    void OnSetPay(const stPayChoice& choice) override;
    void OnMakeTicket(const stTicketOrder& order) override;
    void OnReturnRecvMoney() override;
    void OnPopupConfig() override;
    void OnTouchScreen(enumTouchedButton button) override;
    void NotYetServed(std::string_view command);

    CChannelDlg& m_channel;
    const stScreenSettings m_screen;
    CShockwaveflash m_flash;
    CScreenMessageBox m_messageBox;
    CMovieCommandDispatcher m_dispatcher;
    CRoomCatalogue m_catalogue;
    CKioskSettingsState m_settings;
    CServerMessageRouter m_router;
};

}  // namespace hx
