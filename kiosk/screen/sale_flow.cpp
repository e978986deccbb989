#include "kiosk/screen/sale_flow.h"

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/printing/printer_result.h"
#include "kiosk/printing/receipt_texts.h"
#include "kiosk/screen/room_line.h"
#include "kiosk/screen/sale_end_time.h"
#include "kiosk/support/guest_step.h"
#include "kiosk/support/money_text.h"
#include "platform/local_time.h"

namespace hx {

namespace {

constexpr auto kRetryPause = std::chrono::milliseconds(2500);

std::string RefusalReason(int32_t result) {
    switch (result) {
        case -3:
            return "해당 시간에는 이미 다른 예약이 있습니다.";
        case -2:
            return "해당 시간에는 사용하실 수 없습니다.";
        case kSaleAccepted:
            return "정상 완료 되었습니다.";
        default:
            return "서버에서 장애가 발생 했습니다. 다시 시도해 주십시오.";
    }
}

// The device event a key card issue result stands for; 0 for none.
int DispenserEventOf(int result) {
    switch (result) {
        case CSaleFlow::kCardIssued:
            return 0;
        case 32:
        case 33:
            return 502;
        case 34:
            return 503;
        case 35:
            return 504;
        case 40:
            return 505;
        default:
            return 501;
    }
}

}  // namespace

CSaleFlow::CSaleFlow(CRoomCatalogue& catalogue, stHooks hooks)
    : m_catalogue(catalogue), m_hooks(std::move(hooks)) {}

stSaleRequest CSaleFlow::RequestOf(const stTicketOrder& order) const {
    stSaleRequest request;
    request.roomNo = order.roomNumber;
    request.stayType = order.dayUse ? STAY_RENTAL : STAY_SLEEP;
    request.amount = order.amount.value_or(0);
    if (order.cash) {
        request.cashAmount = request.amount;
    } else {
        request.cardAmount = request.amount;
        request.approval = m_hooks.approval();
        request.approval.roomNo = order.roomNumber;
    }
    return request;
}

// Cash goes to the server only when it covers the price, a card sale only
// with an approval of its amount.
bool CSaleFlow::CanRequest(const stSaleRequest& request) const {
    if (m_stage != enumStage::Idle) {
        m_hooks.log("구매 요청 무시: 이미 진행 중인 구매가 있음");
        return false;
    }
    const bool covered = request.cashAmount > 0 ? m_hooks.cashReceived() >= request.amount
                                                : !request.approval.approvalNo.empty() &&
                                                      request.approval.amount == request.amount;
    if (!covered || request.amount <= 0) {
        m_hooks.log("구매 요청 무시: 결제가 가격에 미치지 못함 " + MoneyText(request.amount) +
                    "원");
    }
    return covered && request.amount > 0;
}

bool CSaleFlow::DispenserReady() {
    const int health = m_hooks.dispenserHealth();
    if (CanIssueKeyCard(health)) {
        return true;
    }
    m_hooks.reportEvent(DispenserEventOf(health), "");
    return false;
}

// The sale is claimed before anything that lets the window's messages run
// (the dispenser's answer is waited for), so a second tap cannot start a
// second sale meanwhile.
void CSaleFlow::OnMakeTicket(const stTicketOrder& order) {
    const stSaleRequest request = RequestOf(order);
    if (!CanRequest(request)) {
        return;
    }
    m_stage = enumStage::Requested;
    m_sale = request;
    m_cash = order.cash;
    if (!DispenserReady()) {
        Refuse("키 카드를 발급할 수 없음");
        return;
    }
    if (m_hooks.journal) {
        m_hooks.journal({.kind = enumMoneyKind::SaleRequested,
                         .won = request.cashAmount,
                         .room = request.roomNo,
                         .text = order.cash ? "현금" : "카드 " + MoneyText(request.cardAmount)});
    }
    if (!m_hooks.requestSale(request)) {
        JournalAnswer(0, "전송 실패");
        m_hooks.log("구매 요청 전송 실패");
        m_stage = enumStage::Refused;
        m_hooks.movie("PopupError", "");
        GiveBack();
        return;
    }
    StartGuard(kSaleAnswerTimer);
}

void CSaleFlow::OnSaleAnswer(const stSaleAnswer& answer) {
    if (m_stage != enumStage::Requested || answer.room.roomNo != m_sale.roomNo) {
        m_hooks.log("구매 응답 무시: " + std::to_string(answer.room.roomNo) + " 룸, 결과 " +
                    std::to_string(answer.result));
        return;
    }
    StopGuard(kSaleAnswerTimer);
    JournalAnswer(answer.result, {});
    if (answer.result != kSaleAccepted) {
        Refuse(RefusalReason(answer.result));
        return;
    }
    Accept(answer);
}

void CSaleFlow::Refuse(std::string_view reason) {
    m_stage = enumStage::Refused;
    m_hooks.log("구매 실패[" + std::string(reason) + "]");
    m_hooks.movie("MakeTicketRes", "0||4");
    GiveBack();
}

// The guest gets back what they paid for a sale that did not happen.
void CSaleFlow::GiveBack() {
    if (m_cash) {
        m_hooks.settleCash(true);
    } else {
        m_hooks.voidApproval();
    }
}

void CSaleFlow::Accept(const stSaleAnswer& answer) {
    m_stage = enumStage::Accepted;
    m_ticketAnswered = false;
    for (const int command : {1005, 907, 2002}) {
        m_hooks.boardCommand(command);
    }
    m_catalogue.ApplySingleRoom(answer.room);
    const int64_t endTime = ParseSaleEndTime(answer.endTime).value_or(0);
    if (endTime == 0) {
        m_hooks.log("퇴실 시간 읽기 실패: " + answer.endTime);
    }
    m_cardResult = IssueKeyCard(answer.room, endTime);
    if (m_cardResult == kCardIssued) {
        if (m_hooks.journal) {
            m_hooks.journal({.kind = enumMoneyKind::KeyCardIssued,
                             .pieces = {.keyCards = 1},
                             .room = answer.room.roomNo});
        }
        m_hooks.keyCardPaidOut();
    }
    m_hooks.printTicket(TicketOf(answer.room, endTime));
    StartGuard(kTicketResultTimer);
}

// A card that fails gets one more try once the dispenser says it is ready.
int CSaleFlow::IssueKeyCard(const stRoom4Kiosk& room, int64_t endTime) {
    const int first = m_hooks.issueKeyCard(room, endTime);
    if (first == kCardIssued) {
        return first;
    }
    m_hooks.pause(kRetryPause);
    const int health = m_hooks.dispenserHealth();
    if (!CanIssueKeyCard(health)) {
        return health;
    }
    return m_hooks.issueKeyCard(room, endTime);
}

stShopCardInfo CSaleFlow::TicketOf(const stRoom4Kiosk& room, int64_t endTime) const {
    stShopCardInfo ticket;
    ticket.roomName = m_catalogue.RoomName(room.roomNo);
    ticket.checkOutText = PrintedTimeText(LocalTimeFromEpoch(endTime));
    ticket.amountText = MoneyText(m_sale.amount);
    ticket.paymentTime = EpochFromLocalTime(GetLocalTimeNow());
    ticket.footerText = m_hooks.ticketFooter();
    ticket.stayTypeText = m_sale.stayType == STAY_RENTAL
                              ? "대실(" + DurationText(room.rentalDuration) + ")"
                              : std::string("숙박");
    ticket.roomClassName = m_catalogue.ClassName(room.classId);
    return ticket;
}

void CSaleFlow::OnTicketPrinted(int result) {
    if (m_stage != enumStage::Accepted || m_ticketAnswered) {
        m_hooks.log("티켓 결과 무시: " + std::to_string(result));
        return;
    }
    m_ticketAnswered = true;
    StopGuard(kTicketResultTimer);
    const bool printed = result == PRINTER_READY;
    if (m_cardResult != kCardIssued) {
        m_hooks.movie("MakeTicketRes", printed ? "0||2" : "0||3");
    } else if (!printed) {
        m_hooks.movie("MakeTicketRes", "0||1");
    }
    if (m_cash) {
        m_hooks.settleCash(false);
    } else {
        m_hooks.movie("MakeTicketRes", "1||0");
    }
    if (printed) {
        m_hooks.reportStep(STEP_RECEIPT_PRINTED, "구매 정보");
        m_hooks.log(m_catalogue.RoomName(m_sale.roomNo) + " 룸 프린트 성공. ");
    } else {
        m_hooks.reportEvent(result == PRINTER_PAPER_OUT ? 302 : 301, "");
    }
    ReportDispenserEvent();
}

void CSaleFlow::ReportDispenserEvent() {
    if (const int event = DispenserEventOf(m_cardResult); event != 0) {
        m_hooks.reportEvent(event, "");
    }
}

void CSaleFlow::OnReceiptPrinted(int result, const std::string& approvalNo) {
    if (result != PRINTER_READY) {
        m_hooks.log("신용카드 결제 영수증 프린트 실패");
        return;
    }
    m_hooks.log("신용카드 결제 영수증 프린트 성공-승인번호 " + approvalNo);
    m_hooks.reportStep(STEP_RECEIPT_PRINTED, "신용카드 영수증");
}

void CSaleFlow::OnPaymentChosen() {
    if (m_stage == enumStage::Refused) {
        m_stage = enumStage::Idle;
    }
}

void CSaleFlow::OnHome() {
    m_stage = enumStage::Idle;
    StopGuard(kSaleAnswerTimer);
    StopGuard(kTicketResultTimer);
}

// The cash of a sale still waiting is refunded by the kiosk's own loss
// handling; an approval is cancelled here.
void CSaleFlow::OnServerLost() {
    if (m_stage != enumStage::Requested) {
        return;
    }
    StopGuard(kSaleAnswerTimer);
    JournalAnswer(0, "서버 연결 끊어짐");
    m_stage = enumStage::Refused;
    if (!m_cash) {
        m_hooks.voidApproval();
    }
}

bool CSaleFlow::OnTimer(UINT_PTR id) {
    if (id == kSaleAnswerTimer) {
        StopGuard(id);
        if (m_stage == enumStage::Requested) {
            m_hooks.log("구매 응답 없음");
            JournalAnswer(0, "응답 없음");
            Refuse(RefusalReason(0));
        }
        return true;
    }
    if (id == kTicketResultTimer) {
        StopGuard(id);
        OnTicketPrinted(PRINTER_FAULT);
        return true;
    }
    return false;
}

// Only the answer of the outstanding sale, or what stands for it, is kept.
void CSaleFlow::JournalAnswer(int result, std::string_view why) {
    if (m_hooks.journal) {
        m_hooks.journal({.kind = enumMoneyKind::SaleAnswered,
                         .won = m_sale.cashAmount,
                         .room = m_sale.roomNo,
                         .result = result,
                         .text = std::string(why)});
    }
}

void CSaleFlow::StartGuard(UINT_PTR id) {
    if (m_window != nullptr) {
        m_window->SetTimer(id, kGuardMs);
    }
}

void CSaleFlow::StopGuard(UINT_PTR id) {
    if (m_window != nullptr) {
        m_window->KillTimer(id);
    }
}

}  // namespace hx
