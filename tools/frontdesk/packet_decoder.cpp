#include "tools/frontdesk/packet_decoder.h"

#include "channel/net_channel_handshake.h"
#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/header_only_requests.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/report_records.h"
#include "kiosk/records/sale_records.h"
#include "net/packet_header.h"
#include "platform/fixed_field.h"
#include "tools/frontdesk/handshake_request.h"

namespace hx {

namespace {

using json = nlohmann::json;
using Packet = std::span<const uint8_t>;

struct stCommandInfo {
    uint32_t command;
    const char* name;
    size_t size;  // the least a whole record holds
    json (*decode)(Packet packet);
};

json NoFields(Packet) {
    return json::object();
}

json HandshakeFields(Packet packet) {
    stHandshakeRequest request;
    ReadHandshakeRequest(packet, request);
    return {{"storedNo", request.storedNo},         {"channelType", request.channelType},
            {"computerName", request.computerName}, {"localAddress", request.localAddress},
            {"firstMac", request.firstMac},         {"secondMac", request.secondMac},
            {"firstKind", request.firstKind}};
}

json ConfirmFields(Packet packet) {
    return {{"name", ReadTextField(packet.subspan(HSK_CONFIRM_NAME, kNameField))}};
}

json DeviceEventFields(Packet packet) {
    stDeviceEvent event;
    Unpack(packet, event);
    return {{"code", event.code},
            {"cleared", event.cleared},
            {"text", event.text},
            {"time", event.time}};
}

json MoneyFields(Packet packet) {
    stMoneyReport report;
    Unpack(packet, report);
    return {{"notes1000", report.notes1000},
            {"notes5000", report.notes5000},
            {"notes10000", report.notes10000},
            {"keyCards", report.keyCards},
            {"time", report.time}};
}

json StepFields(Packet packet) {
    stStepReport report;
    Unpack(packet, report);
    return {{"code", report.code}, {"text", report.text}, {"time", report.time}};
}

json PictureFields(Packet packet) {
    stPictureRequest request;
    Unpack(packet, request);
    return {{"index", request.index}, {"fileName", request.fileName}};
}

json SaleFields(Packet packet) {
    stSaleRequest sale;
    Unpack(packet, sale);
    const stCardApproval& card = sale.approval;
    return {{"roomNo", sale.roomNo},
            {"stayType", sale.stayType},
            {"amount", sale.amount},
            {"cashAmount", sale.cashAmount},
            {"cardAmount", sale.cardAmount},
            {"approval",
             {{"terminalNo", card.terminalNo},
              {"saleDate", card.saleDate},
              {"saleTime", card.saleTime},
              {"issuerCode", card.issuerCode},
              {"issuerName", card.issuerName},
              {"acquirer", card.acquirer},
              {"merchantNo", card.merchantNo},
              {"cardNo", card.cardNo},
              {"approvalNo", card.approvalNo},
              {"amount", card.amount},
              {"installmentMonths", card.installmentMonths},
              {"roomNo", card.roomNo}}}};
}

const stCommandInfo kCommands[] = {
    {CMD_CLIENT_OPEN, "client opened", kPacketHeaderSize, NoFields},
    {CMD_CLIENT_CLOSE, "client closed", kPacketHeaderSize, NoFields},
    {CMD_HANDSHAKE, "handshake request", kHandshakeRequestSize, HandshakeFields},
    {CMD_HANDSHAKE_CONFIRM, "handshake confirmation", kHandshakeConfirmSize, ConfirmFields},
    {CMD_PING, "ping", kPacketHeaderSize, NoFields},
    {CMD_ROOM_LIST, "room list request", kRoomListRequestSize, NoFields},
    {CMD_DEVICE_EVENT, "device event", kDeviceEventSize, DeviceEventFields},
    {CMD_FLOAT_REPORT, "float report", kMoneyReportSize, MoneyFields},
    {CMD_CASH_IN_REPORT, "cash-in report", kMoneyReportSize, MoneyFields},
    {CMD_PAYOUT_REPORT, "payout report", kMoneyReportSize, MoneyFields},
    {CMD_SALES_SUMMARY, "sales summary request", kSalesSummaryRequestSize, NoFields},
    {CMD_PICTURE_REQUEST, "picture request", kPictureRequestSize, PictureFields},
    {CMD_STEP_REPORT, "step report", kStepReportSize, StepFields},
    {CMD_SETTLEMENT, "settlement request", kSettlementRequestSize, NoFields},
    {CMD_UPDATE_INFO, "update information request", kUpdateInfoRequestSize, NoFields},
    {CMD_SALE, "sale request", kSaleRequestSize, SaleFields},
    {CMD_STARTUP, "start-up notice", kStartupNoticeSize, NoFields},
};

const stCommandInfo* FindCommand(uint32_t command) {
    for (const stCommandInfo& info : kCommands) {
        if (info.command == command) {
            return &info;
        }
    }
    return nullptr;
}

json HeaderFields(const stHeader& header) {
    return {{"size", header.size},
            {"senderClientKey", header.senderClientKey},
            {"senderSequence", header.senderSequence},
            {"addresseeClientKey", header.addresseeClientKey},
            {"addresseeSequence", header.addresseeSequence},
            {"serviceKey", header.serviceKey},
            {"uniqueNo", header.uniqueNo}};
}

bool Malformed(stDecodedPacket& decoded, std::string reason) {
    decoded.malformed = true;
    decoded.reason = std::move(reason);
    return false;
}

bool CheckHeader(Packet message, const stHeader& header, stDecodedPacket& decoded) {
    if (header.magic != kPacketMagic) {
        return Malformed(decoded, "header magic " + std::to_string(header.magic) + ", not 22136");
    }
    if (header.size != message.size()) {
        return Malformed(decoded, "size field " + std::to_string(header.size) +
                                      " in a message of " + std::to_string(message.size()) +
                                      " bytes");
    }
    return true;
}

}  // namespace

stDecodedPacket DecodePacket(std::span<const uint8_t> message) {
    stDecodedPacket decoded;
    decoded.name = "unknown";
    decoded.fields = json::object();
    if (message.size() < kPacketHeaderSize) {
        Malformed(decoded, "message of " + std::to_string(message.size()) +
                               " bytes, shorter than a packet header");
        return decoded;
    }
    const stHeader header = UnpackHeader(message);
    decoded.command = header.command;
    decoded.header = HeaderFields(header);
    const stCommandInfo* info = FindCommand(header.command);
    if (info != nullptr) {
        decoded.name = info->name;
    }
    if (!CheckHeader(message, header, decoded) || info == nullptr) {
        return decoded;
    }
    if (message.size() < info->size) {
        Malformed(decoded, std::string(info->name) + " of " + std::to_string(message.size()) +
                               " bytes, needs " + std::to_string(info->size));
        return decoded;
    }
    decoded.fields = info->decode(message);
    return decoded;
}

}  // namespace hx
