#pragma once
// The kiosk window: hosts the customer screen and keeps what the screen
// shows — the rooms, the server's configuration and options, the stay types
// sold at this hour — and answers the screen's commands. The sale flow and
// the device windows join here as they are built. It knows nothing of the
// server link: the application passes in the requests it sends and feeds
// the server's messages to its catalogue and settings.

#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

#include "kiosk/cardissue/kiosk_key_cards.h"
#include "kiosk/cash/kiosk_cash.h"
#include "kiosk/payment/kiosk_card_payment.h"
#include "kiosk/printing/printer_thread.h"
#include "kiosk/screen/device_health.h"
#include "kiosk/screen/guest_steps.h"
#include "kiosk/screen/kiosk_settings_state.h"
#include "kiosk/screen/movie_commands.h"
#include "kiosk/screen/room_catalogue.h"
#include "kiosk/screen/sale_flow.h"
#include "kiosk/screen/screen_message_box.h"
#include "kiosk/screen/shockwave_flash.h"
#include "kiosk/support/money_book.h"
#include "platform/dialog.h"

namespace hx {

class CMainDlg : public CDialog, private CMovieCommandHandler {
public:
    struct stScreenSettings {
        uint16_t uiPort = 8049;
        std::filesystem::path webRoot;
        int32_t cardTerminalPort = CVCatDlg::kPort;
    };
    // What the window asks of and reports to the front-desk server; each
    // request is true when sent, a device event true when it goes out now
    // (reports that cannot are kept and sent after the next connect).
    struct stServerRequests {
        CRoomPictures::PictureRequester requestPicture;
        std::function<bool()> requestRoomList;
        CGuestSteps::StepReporter reportStep;
        std::function<bool(int code, bool cleared, std::string_view text)> reportEvent;
        std::function<void(const std::array<bool, 4>& rose)> reportCashIn;
        std::function<void(const stPaidOut& paid)> reportPayout;
        std::function<bool(const stSaleRequest& request)> requestSale;
        std::function<bool()> serverAlive;
    };

    // Timer 2: the devices (board and dispenser) start a second after the window.
    static constexpr UINT_PTR kDeviceStartTimer = 2;
    static constexpr UINT kDeviceStartMs = 1000;

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
    // The same from any thread: the call is made on the window's own thread.
    void PostScript(std::string_view command, std::string_view args);

    // A device fault, or its end: logged with its text and reported to the
    // server; a fault that stops sales brings up the error screen until the
    // health check finds every device well, as does a report that cannot go
    // out now.
    void ReportEvent(int code, bool cleared, std::string_view detail = {});
    // The same (without a detail) from any thread.
    void PostEvent(int code, bool cleared);
    // The server's answer to the sale, and the loss of the server.
    void OnSaleAnswer(const stSaleAnswer& answer) { m_sale.OnSaleAnswer(answer); }
    void OnServerLost();
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
    void RunPostedScripts();
    CKioskCash::stHooks CashHooks();
    CMoneyBook::stHooks MoneyHooks();
    CKioskCardPayment::stHooks CardHooks();
    CSaleFlow::stHooks SaleHooks();
    CDeviceHealth::stHooks HealthHooks();
    CDeviceHealth::stProbes HealthProbes();
    bool DispenserLibraryKind() const;
    void CreateDeviceWindows();
    void PrintCardReceipt(const stCreditAnswer& answer);
    bool OnWindowTimer(UINT_PTR id);
    void SettleLeftMoney();
    bool OnPrinterResult(UINT message, WPARAM result, LPARAM record);

    const stServerRequests m_server;
    const stScreenSettings m_screen;
    const UINT m_postedScriptMessage;
    const UINT m_postedEventMessage;
    std::mutex m_postedLock;
    std::deque<std::pair<std::string, std::string>> m_postedScripts;
    CShockwaveflash m_flash;
    CScreenMessageBox m_messageBox;
    CMovieCommandDispatcher m_dispatcher;
    CRoomCatalogue m_catalogue;
    CKioskSettingsState m_settings;
    CGuestSteps m_steps;
    CMoneyBook m_money;
    CKioskCash m_cash;
    CKioskKeyCards m_keyCards;
    CKioskCardPayment m_card;
    std::unique_ptr<CPrinterThread> m_printer;
    stPayChoice m_payChoice;
    CSaleFlow m_sale;
    CDeviceHealth m_health;
};

}  // namespace hx
