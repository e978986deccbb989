#include "kiosk/records/update_records.h"

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/record_layout.h"

namespace hx {

namespace {

// The identifier may fill the whole body; nothing else of it is read.
constexpr stTextField<stUpdateInfo> kUpdateTexts[] = {{36, 9232, &stUpdateInfo::updateId}};
constexpr stLayout<stUpdateInfo> kUpdateLayout{{}, {}, kUpdateTexts};

constexpr stInt32Field<stStartupAnswer> kStartupInts[] = {{36, &stStartupAnswer::result}};
constexpr stLayout<stStartupAnswer> kStartupLayout{kStartupInts};

}  // namespace

std::vector<uint8_t> Pack(const stUpdateInfo& info) {
    return BuildPacket(CMD_UPDATE_INFO, kUpdateInfoSize,
                       [&](std::span<uint8_t> packet) { return PackBody(info, packet); });
}

bool PackBody(const stUpdateInfo& info, std::span<uint8_t> packet) {
    return PackMessageBody(kUpdateLayout, kUpdateInfoSize, info, packet);
}

bool Unpack(std::span<const uint8_t> packet, stUpdateInfo& info) {
    return UnpackMessage(kUpdateLayout, kUpdateInfoSize, {CMD_UPDATE_INFO}, packet, info);
}

std::vector<uint8_t> Pack(const stStartupAnswer& answer) {
    return BuildPacket(CMD_STARTUP, kStartupAnswerSize,
                       [&](std::span<uint8_t> packet) { return PackBody(answer, packet); });
}

bool PackBody(const stStartupAnswer& answer, std::span<uint8_t> packet) {
    return PackMessageBody(kStartupLayout, kStartupAnswerSize, answer, packet);
}

bool Unpack(std::span<const uint8_t> packet, stStartupAnswer& answer) {
    return UnpackMessage(kStartupLayout, kStartupAnswerSize, {CMD_STARTUP}, packet, answer);
}

}  // namespace hx
