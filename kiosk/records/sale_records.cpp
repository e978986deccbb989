#include "kiosk/records/sale_records.h"

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/record_layout.h"

namespace hx {

namespace {

constexpr size_t kApprovalOffset = 88;
constexpr size_t kSoldRoomOffset = 552;

using Q = stSaleRequest;
constexpr stInt32Field<Q> kRequestInts[] = {
    {36, &Q::roomNo},     {44, &Q::stayType},   {68, &Q::amount},
    {72, &Q::cashAmount}, {76, &Q::cardAmount},
};
constexpr stLayout<Q> kRequestLayout{kRequestInts};

using A = stSaleAnswer;
constexpr stInt32Field<A> kAnswerInts[] = {{36, &A::result}};
constexpr stTextField<A> kAnswerTexts[] = {{40, 512, &A::endTime}};
constexpr stLayout<A> kAnswerLayout{kAnswerInts, {}, kAnswerTexts};

}  // namespace

std::vector<uint8_t> Pack(const stSaleRequest& request) {
    return BuildPacket(CMD_SALE, kSaleRequestSize,
                       [&](std::span<uint8_t> packet) { return PackBody(request, packet); });
}

bool PackBody(const stSaleRequest& request, std::span<uint8_t> packet) {
    return PackMessageBody(kRequestLayout, kSaleRequestSize, request, packet) &&
           Pack(request.approval, packet.subspan(kApprovalOffset));
}

bool Unpack(std::span<const uint8_t> packet, stSaleRequest& request) {
    return UnpackMessage(kRequestLayout, kSaleRequestSize, {CMD_SALE}, packet, request) &&
           Unpack(packet.subspan(kApprovalOffset), request.approval);
}

std::vector<uint8_t> Pack(const stSaleAnswer& answer) {
    return BuildPacket(CMD_SALE_ANSWER, kSaleAnswerSize,
                       [&](std::span<uint8_t> packet) { return PackBody(answer, packet); });
}

bool PackBody(const stSaleAnswer& answer, std::span<uint8_t> packet) {
    return PackMessageBody(kAnswerLayout, kSaleAnswerSize, answer, packet) &&
           Pack(answer.room, packet.subspan(kSoldRoomOffset));
}

bool Unpack(std::span<const uint8_t> packet, stSaleAnswer& answer) {
    return UnpackMessage(kAnswerLayout, kSaleAnswerSize, {CMD_SALE_ANSWER}, packet, answer) &&
           Unpack(packet.subspan(kSoldRoomOffset), answer.room);
}

}  // namespace hx
