#pragma once
// The kiosk window: hosts the customer screen and keeps what the screen
// shows — the rooms, the server's configuration and options, the stay types
// sold at this hour — and answers the screen's commands. The sale flow and
// the device windows join here as they are built. It knows nothing of the
// server link: the application passes in the requests it sends and feeds
// the server's messages to its catalogue and settings.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "kiosk/screen/kiosk_settings_state.h"
#include "kiosk/screen/movie_commands.h"
#include "kiosk/screen/room_catalogue.h"
#include "kiosk/screen/screen_message_box.h"
#include "kiosk/screen/shockwave_flash.h"
#include "platform/dialog.h"

namespace hx {

class CMainDlg : public CDialog, private CMovieCommandHandler {
public:
    struct stScreenSettings {
        uint16_t uiPort = 8049;
        std::filesystem::path webRoot;
    };
    // What the window asks of the front-desk server; each is true when sent.
    struct stServerRequests {
        CRoomPictures::PictureRequester requestPicture;
        std::function<bool()> requestRoomList;
    };

    CMainDlg(stServerRequests server, stScreenSettings screen);
    ~CMainDlg() override;

    // False as well when the customer screen cannot be served (its port is
    // taken, its files are missing): the kiosk cannot sell without it.
    bool Create() override;
    void OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Run by the tray window's quit routine before the loop ends.
    void RunShutdownSteps();

    uint16_t GetScreenPort() const { return m_flash.GetPort(); }

    // Calls a function of the customer screen.
    void ReceiveScript(std::string_view command, std::string_view args);
    // What the server's messages update.
    CRoomCatalogue& Catalogue() { return m_catalogue; }
    CKioskSettingsState& Settings() { return m_settings; }

private:
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

    const stScreenSettings m_screen;
    CShockwaveflash m_flash;
    CScreenMessageBox m_messageBox;
    CMovieCommandDispatcher m_dispatcher;
    CRoomCatalogue m_catalogue;
    CKioskSettingsState m_settings;
};

}  // namespace hx
