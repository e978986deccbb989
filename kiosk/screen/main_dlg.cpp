#include "kiosk/screen/main_dlg.h"

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/payment/vcat_request.h"
#include "kiosk/screen/money_service_page.h"
#include "kiosk/screen/screen_settings.h"
#include "kiosk/support/daily_log.h"
#include "kiosk/support/float_counts.h"
#include "kiosk/support/guest_step.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "kiosk/support/money_text.h"
#include "kiosk/support/paths.h"
#include "kiosk/support/service_monitor.h"
#include "platform/cursor.h"
#include "platform/envr.h"
#include "platform/message_loop.h"
#include "platform/registered_messages.h"

namespace hx {

namespace {

int ReadSetting(const char* name, int fallback) {
    return CEnvr(kRegistryApplication).GetInt("Settings", name, fallback);
}

}  // namespace

CMainDlg::CMainDlg(stServerRequests server, stScreenSettings screen)
    : m_server(std::move(server)),
      m_screen(std::move(screen)),
      m_postedScriptMessage(RegisterWindowMessage("HxKiosk_PostedScript")),
      m_postedEventMessage(RegisterWindowMessage("HxKiosk_PostedEvent")),
      m_messageBox(m_flash, HXKioskLog),
      m_dispatcher(*this),
      m_catalogue(
          [this](std::string_view command, std::string_view args) { ReceiveScript(command, args); },
          m_server.requestPicture),
      m_settings(m_catalogue, CKioskSettingsState::stHooks{
                                  [this](std::string_view command, std::string_view args) {
                                      ReceiveScript(command, args);
                                  },
                                  m_server.requestRoomList, GetLocalTimeNow,
                                  [this](bool useLibrary) { m_keyCards.OpenDispenser(useLibrary); },
                                  [this] { m_card.AskMerchantInfoWhenMissing(); }}),
      m_steps(
          [this](std::string_view command, std::string_view args) { ReceiveScript(command, args); },
          [this](int code, std::string_view text) {
              if (m_server.reportStep) {
                  m_server.reportStep(code, text);
              }
          }),
      m_money(MoneyHooks()),
      m_cash(CashHooks()),
      m_card(CardHooks()),
      m_sale(m_catalogue, SaleHooks()),
      m_health(HealthHooks()) {}

CKioskCash::stHooks CMainDlg::CashHooks() {
    return {
        [this](std::string_view command, std::string_view args) { ReceiveScript(command, args); },
        [this](int code, bool raised) { ReportEvent(code, raised); },
        m_server.reportStep,
        m_server.reportCashIn,
        m_server.reportPayout,
        HXKioskLog,
        [this](stMoneyEntry entry) { m_money.Write(std::move(entry)); }};
}

CMoneyBook::stHooks CMainDlg::MoneyHooks() {
    return {[this](int code, std::string_view text) { ReportEvent(code, false, text); },
            HXKioskLog};
}

CKioskCardPayment::stHooks CMainDlg::CardHooks() {
    return {
        [this](std::string_view command, std::string_view args) { ReceiveScript(command, args); },
        m_server.reportStep,
        [this](int code, std::string_view detail) { ReportEvent(code, false, detail); },
        [this] { return m_settings.Options().paymentTypes != 0; },
        [this](const stCreditAnswer& answer) { PrintCardReceipt(answer); },
        HXKioskLog};
}

CSaleFlow::stHooks CMainDlg::SaleHooks() {
    CSaleFlow::stHooks hooks;
    hooks.movie = [this](std::string_view command, std::string_view args) {
        ReceiveScript(command, args);
    };
    hooks.requestSale = [this](const stSaleRequest& request) {
        return m_server.requestSale && m_server.requestSale(request);
    };
    hooks.cashReceived = [this] { return m_cash.Payment().Received(); };
    hooks.settleCash = [this](bool returnAll) { m_cash.Payment().SettleCash(returnAll); };
    hooks.approval = [this] { return m_card.Approval(); };
    hooks.voidApproval = [this] { m_card.VoidApproval(); };
    hooks.boardCommand = [this](int code) { m_cash.Board().Queue().QueueBoardCommand(code); };
    hooks.issueKeyCard = [this](const stRoom4Kiosk& room, int64_t endTime) {
        const stKioskConfig& config = m_settings.Config();
        return m_keyCards.IssueGuestCard(room, endTime, {config.hotelRegion, config.hotelSequence},
                                         DispenserLibraryKind());
    };
    hooks.dispenserHealth = [this] {
        return m_keyCards.Dispenser().DispenserHealth(DispenserLibraryKind());
    };
    hooks.keyCardPaidOut = [this] { m_cash.Payment().RecordPayout({.keyCards = 1}); };
    hooks.printTicket = [this](const stShopCardInfo& ticket) {
        m_printer->PushShopCardPrint(ticket);
    };
    hooks.ticketFooter = [this] { return m_settings.Options().ticketFooter; };
    hooks.pause = [](std::chrono::milliseconds wait) {
        PumpMessagesFor(static_cast<uint32_t>(wait.count()));
    };
    hooks.reportStep = m_server.reportStep;
    hooks.reportEvent = [this](int code, std::string_view detail) {
        ReportEvent(code, false, detail);
    };
    hooks.journal = [this](stMoneyEntry entry) { m_money.Write(std::move(entry)); };
    return hooks;
}

CDeviceHealth::stHooks CMainDlg::HealthHooks() {
    CDeviceHealth::stHooks hooks;
    hooks.movie = [this](std::string_view command, std::string_view args) {
        ReceiveScript(command, args);
    };
    hooks.sendEvent = [this](int code, bool cleared, std::string_view text) {
        return m_server.reportEvent && m_server.reportEvent(code, cleared, text);
    };
    hooks.changeDispensers = [this] {
        return stChangeDispensers{m_cash.Board().Devices().DispenserStateCode(),
                                  m_settings.BillDenomination(1), m_settings.BillDenomination(2),
                                  m_catalogue.BillUnit()};
    };
    hooks.probes = HealthProbes();
    return hooks;
}

CDeviceHealth::stProbes CMainDlg::HealthProbes() {
    CDeviceHealth::stProbes probes;
    probes.adminScreensOpen = [] { return false; };  // this build has no settings screens
    probes.askMissingTerminalInfo = [this] { m_card.AskMerchantInfoWhenMissing(); };
    probes.cardTerminalKnown = [this] {
        return m_settings.Options().paymentTypes == 0 || !m_card.MerchantInfo().terminalNo.empty();
    };
    probes.pollFaultyCashDevices = [this] {
        if (m_settings.Options().paymentTypes != 1 && m_cash.Board().HasCashDeviceError()) {
            m_cash.Board().PollCashDevices();
        }
    };
    probes.boardPortOpen = [this] { return m_cash.Board().IsPortOpen(); };
    probes.cashDeviceError = [this] { return m_cash.Board().HasCashDeviceError(); };
    probes.keyCardDispenserReady = [this] {
        return CanIssueKeyCard(m_keyCards.Dispenser().DispenserHealth(DispenserLibraryKind()));
    };
    probes.printerState = [this] { return m_printer->SyncCheckPrinter(); };
    probes.serverAlive = [this] { return m_server.serverAlive && m_server.serverAlive(); };
    return probes;
}

bool CMainDlg::DispenserLibraryKind() const {
    return m_settings.Config().dispenserDriver != 0;
}

// The receipt of an approved card payment: the merchant's information, the
// answer's card and approval, and what was bought.
void CMainDlg::PrintCardReceipt(const stCreditAnswer& answer) {
    const stVCatInfo& merchant = m_card.MerchantInfo();
    stCardReceiptInfo receipt;
    receipt.kind = kCreditCardReceipt;
    receipt.productName =
        m_catalogue.RoomName(m_payChoice.roomNumber) + (m_payChoice.dayUse ? "(대실)" : "(숙박)");
    receipt.merchantName = merchant.merchantName;
    receipt.amount = answer.amount;
    receipt.valueAddedTax = ValueAddedTax(answer.amount);
    receipt.representative = merchant.representative;
    receipt.phone = merchant.phone;
    receipt.businessNo = merchant.businessNo;
    receipt.address = merchant.address;
    receipt.saleDate = answer.saleDate;
    receipt.deviceName = m_settings.Options().deviceName;
    receipt.cardNo = answer.cardNo;
    receipt.cardName = answer.issuerName;
    receipt.merchantNo = answer.merchantNo;
    receipt.installmentMonths = std::to_string(answer.installmentMonths);
    receipt.approvalNo = answer.approvalNo;
    m_printer->PushCardReceiptPrint(receipt);
}

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
    // Read for each request: what the operator changes shows at the page's next connect.
    host.documents[kScreenSettingsPath] = {
        "application/json; charset=utf-8",
        [file = GetProgramPath("INI\\Screen.ini")] { return ScreenSettingsDocument(file); }};
    // The service view's money journal, read from its file for each request.
    host.documents["/service/money"] = {"text/html; charset=utf-8",
                                        [] { return MoneyServicePage(); }};
    const bool shown =
        m_flash.Open(host, [this](const std::string& command, const std::string& args) {
            m_dispatcher.Dispatch(command, args);
        });
    if (!shown) {
        return;  // Create reports it; the host has logged why
    }
    SetChannelMessageBox(&m_messageBox);
    m_printer = std::make_unique<CPrinterThread>(GetSafeHwnd(), GetProgramPath("INI\\HXKiosk.ini"));
    m_printer->Start();
    m_steps.Attach(*this);
    m_sale.Attach(*this);
    m_health.Attach(*this);
    CreateDeviceWindows();
    ShowCursor(ReadSetting("ShowMouse", 1) != 0);
    SetTimer(kDeviceStartTimer, kDeviceStartMs);
    m_health.StartServerCheck();
    m_settings.Start(*this);
    m_card.StartTerminal();
}

// Hidden unless the settings ask for a device's service view.
void CMainDlg::CreateDeviceWindows() {
    m_card.Create(GetSafeHwnd(), GetProgramPath(), m_screen.cardTerminalPort);
    m_card.Terminal().ShowWindow(ReadSetting("ShowCreditDlg", 0) ? SW_SHOW : SW_HIDE);
    m_keyCards.Create();
    m_keyCards.Dispenser().ShowWindow(ReadSetting("ShowDispenserDlg", 0) ? SW_SHOW : SW_HIDE);
    m_money.Open();
    m_cash.Create(*this, m_money.Reconcile(LoadFloatCounts()));
    m_cash.Board().ShowWindow(ReadSetting("ShowPCBDlg", 0) ? SW_SHOW : SW_HIDE);
}

LRESULT CMainDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && OnWindowTimer(wParam)) {
        return 0;
    }
    if (message == m_postedScriptMessage) {
        RunPostedScripts();
        return 0;
    }
    if (m_card.OnMessage(message, wParam) || OnPrinterResult(message, wParam, lParam)) {
        return 0;
    }
    if (message == m_postedEventMessage) {
        ReportEvent(static_cast<int>(wParam), lParam != 0);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

bool CMainDlg::OnWindowTimer(UINT_PTR id) {
    if (id == kDeviceStartTimer) {
        KillTimer(id);
        m_cash.Board().OpenBoardPort();
        m_keyCards.OpenDispenser(DispenserLibraryKind());
        m_sale.DispenserReady();
        HXKioskLog("장치 시작 완료.");
        return true;
    }
    return m_settings.OnTimer(id) || m_steps.OnTimer(id) || m_cash.OnTimer(id) ||
           m_sale.OnTimer(id) || m_health.OnTimer(id);
}

void CMainDlg::RunShutdownSteps() {
    if (m_printer) {
        m_printer->Stop();
    }
    MarkKioskQuit();
}

// The printer's status alone is left to the health check.
bool CMainDlg::OnPrinterResult(UINT message, WPARAM result, LPARAM record) {
    const int code = static_cast<int>(result);
    if (message == WM_PRINT_SHOPCARD_DONE) {
        m_sale.OnTicketPrinted(code);
    } else if (message == WM_PRINT_CARDRECEIPT_DONE) {
        m_sale.OnReceiptPrinted(code,
                                reinterpret_cast<const stCardReceiptInfo*>(record)->approvalNo);
    } else if (message == WM_PRINTER_STATUS) {
        HXKioskLog("프린터 상태 " + std::to_string(code));
    } else {
        return false;
    }
    return true;
}

// A sale the server accepted keeps its money; anything else goes back.
void CMainDlg::OnServerLost() {
    m_sale.OnServerLost();
    if (!m_sale.IsAccepted()) {
        m_cash.Payment().SettleCash(true);
    }
}

void CMainDlg::ReceiveScript(std::string_view command, std::string_view args) {
    m_flash.ReceiveScript(command, args);
}

void CMainDlg::PostScript(std::string_view command, std::string_view args) {
    {
        const std::lock_guard lock(m_postedLock);
        m_postedScripts.emplace_back(command, args);
    }
    PostMessage(m_postedScriptMessage);
}

void CMainDlg::RunPostedScripts() {
    std::deque<std::pair<std::string, std::string>> scripts;
    {
        const std::lock_guard lock(m_postedLock);
        scripts.swap(m_postedScripts);
    }
    for (const auto& [command, args] : scripts) {
        if (command != "ClearError" || m_health.MayClearError()) {
            ReceiveScript(command, args);
        }
    }
}

void CMainDlg::ReportEvent(int code, bool cleared, std::string_view detail) {
    m_health.Report(code, cleared, detail);
}

void CMainDlg::PostEvent(int code, bool cleared) {
    PostMessage(m_postedEventMessage, static_cast<WPARAM>(code), cleared ? 1 : 0);
}

void CMainDlg::OnInitKiosk() {
    m_catalogue.SetMovieReady(true);
    m_settings.AnswerInitKiosk();
}

// Money still in the machine goes back to the guest (the change, when the
// server accepted the sale) before its counts are cleared.
void CMainDlg::SettleLeftMoney() {
    if (m_cash.Payment().HoldsUnsettledMoney()) {
        HXKioskLog("받은 돈 정산 후 진행");
        m_cash.Payment().SettleCash(!m_sale.IsAccepted());
    }
}

void CMainDlg::OnSetHome(std::optional<bool> /*forgetSelection*/) {
    SettleLeftMoney();
    m_card.GiveUp();
    if (m_sale.IsAccepted()) {
        m_card.ForgetApproval();
    } else {
        m_card.VoidApproval();
    }
    m_sale.OnHome();
    HXKioskLog("처음 화면으로 전환.");
    m_steps.OnHome();
    m_cash.Payment().EndCashSession();
    m_money.Audit();
    m_catalogue.SetSaleUnderway(false);
    m_catalogue.OnHomeScreen();
    m_sale.DispenserReady();
}

void CMainDlg::OnSetRoomData() {
    m_catalogue.SendRoomList();
}

void CMainDlg::OnSelectRoom(const std::string& text) {
    SettleLeftMoney();
    m_steps.OnSelectRoom(text);
}

void CMainDlg::OnSelectCheckInType(std::optional<int> roomNumber, const std::string& text) {
    m_steps.OnSelectCheckInType(roomNumber, text);
}

void CMainDlg::OnSetPay(const stPayChoice& choice) {
    if (!choice.cash) {
        SettleLeftMoney();
    }
    m_payChoice = choice;
    m_sale.OnPaymentChosen();
    m_steps.OnPaymentChosen(choice.roomNumber);
    ReceiveScript("StopProgress", "");
    HXKioskLog(m_catalogue.RoomName(choice.roomNumber) + (choice.dayUse ? " 대실 " : " 숙박 ") +
               (choice.cash ? "현금 " : "카드 ") + MoneyText(choice.price) + "원 선택");
    if (m_server.reportStep) {
        m_server.reportStep(STEP_PAYMENT_CHOSEN, choice.cash ? "현금" : "카드");
    }
    if (!m_sale.DispenserReady()) {
        HXKioskLog("디스펜서 이상: 결제를 시작하지 않음");  // its fault brings up the error screen
        return;
    }
    if (!choice.cash) {
        m_card.Pay(choice.price);
        return;
    }
    CCashPayment& payment = m_cash.Payment();
    payment.SetDispensers(m_settings.BillDenomination(1), m_settings.LowStockThreshold(1),
                          m_settings.BillDenomination(2), m_settings.LowStockThreshold(2));
    payment.StartCashAcceptance(choice.price);
}

void CMainDlg::OnMakeTicket(const stTicketOrder& order) {
    m_sale.OnMakeTicket(order);
}

// After the server accepted the sale the guest's money is the motel's.
void CMainDlg::OnReturnRecvMoney() {
    if (m_sale.IsAccepted()) {
        HXKioskLog("환불 요청 무시: 구매 완료됨");
        return;
    }
    m_cash.Payment().SettleCash(true);
}

void CMainDlg::OnPopupConfig() {
    NotYetServed("PopupConfig");
}

void CMainDlg::OnTouchScreen(enumTouchedButton button) {
    m_steps.OnTouch(button);
}

// The sale flow, cash, card payment and the administrator screens are not
// part of this build yet: their commands are logged, never half-served.
void CMainDlg::NotYetServed(std::string_view command) {
    HXKioskLog(std::string("화면 명령 미지원: ") + std::string(command));
}

}  // namespace hx
