#include "kiosk/server/report_requests.h"

#include <ctime>
#include <string>

#include "kiosk/records/header_only_requests.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/record_layout.h"
#include "kiosk/server/server_exchange.h"

namespace hx {

namespace {

constexpr size_t kSettlementResultOffset = 40;

int64_t Now() {
    return static_cast<int64_t>(std::time(nullptr));
}

CReSender::enumHandOver HandOverTo(CReSender* queue, const auto& report) {
    return queue != nullptr ? queue->HandOver(report) : CReSender::HAND_OVER_REFUSED;
}

std::optional<std::vector<uint8_t>> AskHeaderOnly(CNetChannel* channel, uint32_t command,
                                                  size_t answerSize) {
    return ExchangeRequest(channel, command, HeaderOnlyRequestSize(command), {}, answerSize);
}

template <class Record>
std::optional<Record> Answer(const std::optional<std::vector<uint8_t>>& answer) {
    Record record;
    if (!answer || !Unpack(*answer, record)) {
        return std::nullopt;
    }
    return record;
}

}  // namespace

CReSender::enumHandOver SendStepReport(CReSender* queue, int code, std::string_view text) {
    return HandOverTo(queue, stStepReport{code, std::string(text), Now()});
}

CReSender::enumHandOver SendDeviceEvent(CReSender* queue, int code, bool cleared,
                                        std::string_view text) {
    return HandOverTo(queue, stDeviceEvent{code, cleared ? 1 : 0, std::string(text), Now()});
}

CReSender::enumHandOver SendCashInReport(CReSender* queue, const stNoteCounts& rose) {
    return HandOverTo(queue, stMoneyReport{CMD_CASH_IN_REPORT, rose.notes1000, rose.notes5000,
                                           rose.notes10000, 0, Now()});
}

CReSender::enumHandOver SendPayoutReport(CReSender* queue, const stNoteCounts& paidOut,
                                         int keyCards) {
    return HandOverTo(queue, stMoneyReport{CMD_PAYOUT_REPORT, paidOut.notes1000, paidOut.notes5000,
                                           paidOut.notes10000, keyCards, Now()});
}

std::optional<stSalesSummary> RequestSalesSummary(CNetChannel* channel) {
    return Answer<stSalesSummary>(
        AskHeaderOnly(channel, CMD_SALES_SUMMARY, kSalesSummaryAnswerSize));
}

int RequestSettlement(CNetChannel* channel) {
    const std::optional<std::vector<uint8_t>> answer =
        AskHeaderOnly(channel, CMD_SETTLEMENT, kSettlementRequestSize);
    return answer ? LoadInt32(*answer, kSettlementResultOffset) : 0;
}

std::optional<stUpdateInfo> RequestUpdateInfo(CNetChannel* channel) {
    return Answer<stUpdateInfo>(AskHeaderOnly(channel, CMD_UPDATE_INFO, kUpdateInfoSize));
}

}  // namespace hx
