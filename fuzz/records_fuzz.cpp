// Any bytes into every record decoder of the server exchange: nothing may be
// read past the input, input shorter than a record is refused, and whatever
// decodes packs back into a record that decodes to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "kiosk/records/ack_record.h"
#include "kiosk/records/approval_record.h"
#include "kiosk/records/config_records.h"
#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/list_page_records.h"
#include "kiosk/records/report_records.h"
#include "kiosk/records/room_records.h"
#include "kiosk/records/sale_records.h"
#include "kiosk/records/summary_records.h"
#include "kiosk/records/update_records.h"

namespace hx {

namespace {

// The input in a buffer of exactly its size, so a sanitizer sees any
// overread, with the command the decoder expects when there is room for it.
std::vector<uint8_t> WithCommand(std::span<const uint8_t> data, uint32_t command) {
    std::vector<uint8_t> bytes(data.begin(), data.end());
    for (size_t i = 0; i < 4 && i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(command >> (8 * i));
    }
    return bytes;
}

template <class Message>
void CheckMessage(std::span<const uint8_t> data, uint32_t command, size_t size) {
    const auto bytes = WithCommand(data, command);
    Message message;
    if (!Unpack(bytes, message)) {
        return;
    }
    Require(bytes.size() >= size);
    const auto packed = Pack(message);
    Require(packed.size() == size);
    Message again;
    Require(Unpack(packed, again));
    Require(Pack(again) == packed);
}

template <class Record>
void CheckEmbedded(std::span<const uint8_t> data, size_t size) {
    const std::vector<uint8_t> bytes(data.begin(), data.end());
    Record record;
    if (!Unpack(bytes, record)) {
        Require(bytes.size() < size);
        return;
    }
    Require(bytes.size() >= size);
    std::vector<uint8_t> packed(size);
    Require(Pack(record, packed));
    Record again;
    Require(Unpack(packed, again));
    std::vector<uint8_t> repacked(size);
    Require(Pack(again, repacked) && repacked == packed);
}

}  // namespace

}  // namespace hx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    const std::span<const uint8_t> input(data, size);

    CheckEmbedded<stRoom4Kiosk>(input, kRoomRecordSize);
    CheckEmbedded<stClass4Class>(input, kClassRecordSize);
    CheckEmbedded<stCardApproval>(input, kCardApprovalSize);

    CheckMessage<stSingleRoom>(input, CMD_SINGLE_ROOM_ALT, kSingleRoomSize);
    CheckMessage<stRoomPage>(input, CMD_ROOM_LIST, kRoomPageSize);
    CheckMessage<stClassPage>(input, CMD_CLASS_LIST, kClassPageSize);
    CheckMessage<stKioskConfig>(input, CMD_KIOSK_CONFIG, kKioskConfigSize);
    CheckMessage<stKioskOptions>(input, CMD_KIOSK_OPTIONS, kKioskOptionsSize);
    CheckMessage<stFileChunk>(input, CMD_PICTURE_CHUNK, kFileChunkSize);
    CheckMessage<stPictureRequest>(input, CMD_PICTURE_REQUEST, kPictureRequestSize);
    CheckMessage<stSaleRequest>(input, CMD_SALE, kSaleRequestSize);
    CheckMessage<stSaleAnswer>(input, CMD_SALE_ANSWER, kSaleAnswerSize);
    CheckMessage<stDeviceEvent>(input, CMD_DEVICE_EVENT, kDeviceEventSize);
    CheckMessage<stMoneyReport>(input, CMD_CASH_IN_REPORT, kMoneyReportSize);
    CheckMessage<stStepReport>(input, CMD_STEP_REPORT, kStepReportSize);
    CheckMessage<stSalesSummary>(input, CMD_SALES_SUMMARY, kSalesSummaryAnswerSize);
    CheckMessage<stAck>(input, CMD_SETTLEMENT, kAckSize);
    CheckMessage<stUpdateInfo>(input, CMD_UPDATE_INFO, kUpdateInfoSize);
    CheckMessage<stStartupAnswer>(input, CMD_STARTUP, kStartupAnswerSize);
    return 0;
}
