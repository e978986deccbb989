// Any bytes as a message from a kiosk into the front desk's decoder and, when
// they make a well-formed request, its dispatcher: nothing may be read past
// the message, a malformed one is refused with its reason, its fields always
// make a journal line, and no request harms the desk. The first input byte
// chooses whether the header's size and magic are made right first, so the
// fuzzer also reaches the records behind them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "net/byte_order.h"
#include "net/packet_header.h"
#include "tools/frontdesk/desk_state.h"
#include "tools/frontdesk/packet_decoder.h"
#include "tools/frontdesk/request_dispatcher.h"

namespace hx {

namespace {

// Two rooms, a refusal, no pictures; the ledger's folder does not exist, so
// nothing is ever written and every run starts alike.
stDeskState& State() {
    static stDeskState state = [] {
        stScenario scenario;
        scenario.classes = {{0, 1, 1, "스탠다드"}};
        for (int32_t roomNo : {201, 202}) {
            stRoom4Kiosk room;
            room.roomNo = roomNo;
            room.classId = 1;
            scenario.rooms.push_back(room);
        }
        scenario.sales.refusals = {{202, 0, -2}};
        return stDeskState(scenario, "/nonexistent-frontdesk-fuzz/ledger.json");
    }();
    return state;
}

}  // namespace

}  // namespace hx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    if (size == 0) {
        return 0;
    }
    std::vector<uint8_t> message(data + 1, data + size);
    if ((data[0] & 1) != 0 && message.size() >= kPacketHeaderSize) {
        StoreLe32(message.data() + HDR_SIZE, static_cast<uint32_t>(message.size()));
        StoreLe32(message.data() + HDR_MAGIC, kPacketMagic);
    }
    const stDecodedPacket decoded = DecodePacket(message);
    Require(decoded.malformed != decoded.reason.empty());
    const std::string line =
        decoded.fields.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    Require(!line.empty());
    if (!decoded.malformed) {
        const stReplies replies = DispatchRequest(State(), {1, 0x1001}, message, 1700000000);
        for (const auto& answer : replies.answers) {
            Require(answer.size() >= kPacketHeaderSize);
            Require(UnpackHeader(answer).addresseeClientKey ==
                    UnpackHeader(message).senderClientKey);
        }
        Require(State().scenario.rooms[0].state == 0);  // a sale not kept changes no room
    }
    return 0;
}
