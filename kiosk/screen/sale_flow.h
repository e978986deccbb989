#pragma once
// The sale: the screen's MakeTicket goes to the server as the sale request,
// and its answer either ends in a refund (cash) or a cancelled approval
// (card), or in the key card, the guest ticket and the change. One sale at
// a time, answered once: an answer for another room, a second answer, or an
// answer with no sale outstanding changes nothing. Once the server accepted
// a sale, nothing of it is refunded. Guard timers end a sale whose answer or
// ticket result never comes. Everything runs on the user interface thread.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "kiosk/printing/receipt_records.h"
#include "kiosk/records/sale_records.h"
#include "kiosk/screen/movie_commands.h"
#include "kiosk/screen/room_catalogue.h"
#include "kiosk/support/daily_log.h"
#include "kiosk/support/money_journal.h"
#include "platform/wnd.h"

namespace hx {

class CSaleFlow {
public:
    using MovieSink = std::function<void(std::string_view command, std::string_view args)>;

    static constexpr UINT_PTR kSaleAnswerTimer = 9;
    static constexpr UINT_PTR kTicketResultTimer = 10;
    static constexpr UINT kGuardMs = 60000;
    static constexpr int kCardIssued = 30;

    struct stHooks {
        MovieSink movie;
        std::function<bool(const stSaleRequest&)> requestSale;  // 601, true when sent
        std::function<int()> cashReceived;
        std::function<void(bool returnAll)> settleCash;
        // The approval of the card payment (zero without one), and its cancel.
        std::function<stCardApproval()> approval;
        std::function<void()> voidApproval;
        std::function<void(int code)> boardCommand;
        std::function<int(const stRoom4Kiosk& room, int64_t endTime)> issueKeyCard;
        std::function<int()> dispenserHealth;
        std::function<void()> keyCardPaidOut;
        std::function<void(const stShopCardInfo&)> printTicket;
        std::function<std::string()> ticketFooter;
        // Dispatches the window's messages for a while (the pause before the
        // key card's second try).
        std::function<void(std::chrono::milliseconds)> pause;
        std::function<void(int code, std::string_view text)> reportStep;
        std::function<void(int code, std::string_view detail)> reportEvent;
        std::function<void(std::string_view)> log = HXKioskLog;
        // The sale's money events, before the sale acts on them.
        std::function<void(stMoneyEntry)> journal = nullptr;
    };

    CSaleFlow(CRoomCatalogue& catalogue, stHooks hooks);

    // Guard timers run on `window`, whose timers go to OnTimer.
    void Attach(CWnd& window) { m_window = &window; }

    // True when the dispenser can hand out a key card; otherwise its fault
    // is reported, and nothing may be charged.
    bool DispenserReady();
    void OnMakeTicket(const stTicketOrder& order);
    // A new payment begins: a refused sale is over.
    void OnPaymentChosen();
    void OnSaleAnswer(const stSaleAnswer& answer);
    // The guest ticket's printer result (1125) and the card receipt's (1127).
    void OnTicketPrinted(int result);
    void OnReceiptPrinted(int result, const std::string& approvalNo);
    // The guest went home, or the server was lost: a sale still waiting for
    // its answer is void (its late answer is ignored). At home the kiosk
    // window settles the approval itself.
    void OnHome();
    void OnServerLost();
    bool OnTimer(UINT_PTR id);

    // From the server's acceptance until home: no refund may be made.
    bool IsAccepted() const { return m_stage == enumStage::Accepted; }
    bool IsOutstanding() const { return m_stage == enumStage::Requested; }

private:
    // Refused: the sale did not happen and its money is on the way back; a
    // new sale waits for a new payment or home.
    enum class enumStage { Idle, Requested, Accepted, Refused };

    bool CanRequest(const stSaleRequest& request) const;
    stSaleRequest RequestOf(const stTicketOrder& order) const;
    void Refuse(std::string_view reason);
    void GiveBack();
    void Accept(const stSaleAnswer& answer);
    int IssueKeyCard(const stRoom4Kiosk& room, int64_t endTime);
    stShopCardInfo TicketOf(const stRoom4Kiosk& room, int64_t endTime) const;
    void ReportDispenserEvent();
    void JournalAnswer(int result, std::string_view why);
    void StartGuard(UINT_PTR id);
    void StopGuard(UINT_PTR id);

    CRoomCatalogue& m_catalogue;
    const stHooks m_hooks;
    CWnd* m_window = nullptr;
    enumStage m_stage = enumStage::Idle;
    stSaleRequest m_sale;
    bool m_cash = false;
    int m_cardResult = -1;
    bool m_ticketAnswered = false;
};

}  // namespace hx
