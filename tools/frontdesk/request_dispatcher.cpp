#include "tools/frontdesk/request_dispatcher.h"

#include <functional>

#include "kiosk/records/ack_record.h"
#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/report_records.h"
#include "kiosk/records/sale_records.h"
#include "kiosk/records/summary_records.h"
#include "kiosk/records/update_records.h"
#include "tools/frontdesk/desk_packets.h"
#include "tools/frontdesk/packet_addressing.h"
#include "tools/frontdesk/sale_desk.h"

namespace hx {

namespace {

using Packet = std::span<const uint8_t>;

class CRequestDispatcher {
public:
    CRequestDispatcher(stDeskState& state, const stKioskIdentity& kiosk, Packet packet, int64_t now)
        : m_state(state),
          m_kiosk(kiosk),
          m_packet(packet),
          m_request(UnpackHeader(packet)),
          m_now(now) {}

    stReplies Dispatch();

private:
    void Answer(Bytes packet) {
        AddressAnswer(m_request, packet);
        m_replies.answers.push_back(std::move(packet));
    }
    // Answers by the command's policy; `record` keeps the request in the
    // ledger and runs only when the policy acknowledges.
    void Acknowledge(const std::function<bool()>& record);
    bool RecordReport();
    void SendPicture();
    void Sell();
    // Journals a request whose record could not be read, and what was done.
    void Unreadable(const std::string& what, const std::string& done) {
        m_replies.note =
            what + " of " + std::to_string(m_packet.size()) + " bytes could not be read: " + done;
    }

    stDeskState& m_state;
    const stKioskIdentity& m_kiosk;
    Packet m_packet;
    stHeader m_request;
    int64_t m_now;
    stReplies m_replies;
};

void CRequestDispatcher::Acknowledge(const std::function<bool()>& record) {
    const enumAckPolicy policy = AckPolicyFor(m_state.scenario, m_request.command);
    if (policy == enumAckPolicy::Silent) {
        return;
    }
    const bool kept = policy == enumAckPolicy::Acknowledge && record();
    if (policy == enumAckPolicy::Acknowledge && !kept) {
        m_replies.note = "the ledger could not be written: not acknowledged";
    }
    Answer(Pack(stAck{m_request.command, kept ? 1 : 0}));
}

bool CRequestDispatcher::RecordReport() {
    stMoneyReport money;
    if (Unpack(m_packet, money)) {
        return m_state.ledger.RecordReport(m_kiosk.terminalNo, money, m_now);
    }
    return m_state.ledger.RecordReport(m_kiosk.terminalNo, m_request.command, m_now);
}

// A picture the desk does not have goes as an empty file, so the kiosk's
// download moves on instead of waiting for it forever.
void CRequestDispatcher::SendPicture() {
    stPictureRequest request;
    if (!Unpack(m_packet, request)) {
        // Any chunk would start a file the kiosk never asked for.
        Unreadable("picture request", "no answer");
        return;
    }
    Bytes file;
    if (!m_state.pictures.ReadPicture(request.fileName, file)) {
        m_replies.note = "no picture \"" + request.fileName + "\": sent as an empty file";
        file.clear();
    }
    m_replies.pushes = BuildFileChunkPackets(CMD_PICTURE_CHUNK, request.index, file);
}

void CRequestDispatcher::Sell() {
    stSaleRequest request;
    if (!Unpack(m_packet, request)) {
        // The kiosk waits for an answer; a refusal sells nothing and lets it go on.
        Unreadable("sale request", "refused");
        stSaleAnswer refusal;
        refusal.result = m_state.scenario.sales.failureResult;
        m_replies.pushes.push_back(Pack(refusal));
        return;
    }
    std::vector<stRoom4Kiosk>& rooms = m_state.scenario.rooms;
    const std::vector<stRoom4Kiosk> before = rooms;
    stSaleAnswer answer = DecideSale(m_state.scenario.sales, rooms, request, m_now);
    if (answer.result == kSaleAccepted) {
        const stLedgerSale sale{m_now,
                                request.roomNo,
                                request.stayType,
                                request.amount,
                                request.cashAmount,
                                request.cardAmount,
                                request.approval.approvalNo,
                                answer.endTime};
        // A sale the books cannot hold is not made.
        if (!m_state.ledger.RecordSale(m_kiosk.terminalNo, sale, answer.room.state)) {
            rooms = before;
            m_replies.note = "the ledger could not be written: sale refused";
            answer.result = m_state.scenario.sales.failureResult;
            answer.endTime.clear();
        }
    }
    m_replies.pushes.push_back(Pack(answer));
    if (answer.result == kSaleAccepted) {
        m_replies.broadcasts.push_back(BuildSingleRoomPacket(answer.room, CMD_SINGLE_ROOM));
    }
}

stReplies CRequestDispatcher::Dispatch() {
    switch (m_request.command) {
        case CMD_DEVICE_EVENT:
        case CMD_FLOAT_REPORT:
        case CMD_CASH_IN_REPORT:
        case CMD_PAYOUT_REPORT:
        case CMD_STEP_REPORT:
            Acknowledge([this] { return RecordReport(); });
            break;
        case CMD_SETTLEMENT:
            Acknowledge([this] { return m_state.ledger.Settle(m_kiosk.terminalNo, m_now); });
            break;
        case CMD_SALES_SUMMARY:
            Answer(Pack(m_state.ledger.Summary(m_kiosk.terminalNo)));
            break;
        case CMD_UPDATE_INFO:
            Answer(Pack(stUpdateInfo{m_state.scenario.updateId}));
            break;
        case CMD_STARTUP:
            m_replies.pushes.push_back(Pack(stStartupAnswer{m_state.scenario.startupResult}));
            break;
        case CMD_ROOM_LIST:
            m_replies.pushes = BuildListPackets(m_state.scenario);
            break;
        case CMD_PICTURE_REQUEST:
            SendPicture();
            break;
        case CMD_SALE:
            Sell();
            break;
        default:
            break;
    }
    return std::move(m_replies);
}

}  // namespace

stReplies DispatchRequest(stDeskState& state, const stKioskIdentity& kiosk,
                          std::span<const uint8_t> packet, int64_t now) {
    return CRequestDispatcher(state, kiosk, packet, now).Dispatch();
}

}  // namespace hx
