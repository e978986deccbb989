#include "kiosk/records/report_records.h"

#include "kiosk/records/record_layout.h"

namespace hx {

namespace {

using E = stDeviceEvent;
constexpr stInt32Field<E> kEventInts[] = {{40, &E::code}, {44, &E::cleared}};
constexpr stInt64Field<E> kEventTimes[] = {{2096, &E::time}};
constexpr stTextField<E> kEventTexts[] = {{48, 2048, &E::text}};
constexpr stLayout<E> kEventLayout{kEventInts, kEventTimes, kEventTexts};

using M = stMoneyReport;
constexpr stInt32Field<M> kMoneyInts[] = {
    {36, &M::notes1000},
    {40, &M::notes5000},
    {44, &M::notes10000},
    {52, &M::keyCards},
};
constexpr stInt64Field<M> kMoneyTimes[] = {{56, &M::time}};
constexpr stLayout<M> kMoneyLayout{kMoneyInts, kMoneyTimes};

using S = stStepReport;
constexpr stInt32Field<S> kStepInts[] = {{40, &S::code}};
constexpr stInt64Field<S> kStepTimes[] = {{1068, &S::time}};
constexpr stTextField<S> kStepTexts[] = {{44, 1024, &S::text}};
constexpr stLayout<S> kStepLayout{kStepInts, kStepTimes, kStepTexts};

}  // namespace

std::vector<uint8_t> Pack(const stDeviceEvent& event) {
    return BuildPacket(CMD_DEVICE_EVENT, kDeviceEventSize,
                       [&](std::span<uint8_t> packet) { return PackBody(event, packet); });
}

bool PackBody(const stDeviceEvent& event, std::span<uint8_t> packet) {
    return PackMessageBody(kEventLayout, kDeviceEventSize, event, packet);
}

bool Unpack(std::span<const uint8_t> packet, stDeviceEvent& event) {
    return UnpackMessage(kEventLayout, kDeviceEventSize, {CMD_DEVICE_EVENT}, packet, event);
}

std::vector<uint8_t> Pack(const stMoneyReport& report) {
    return BuildPacket(report.command, kMoneyReportSize,
                       [&](std::span<uint8_t> packet) { return PackBody(report, packet); });
}

bool PackBody(const stMoneyReport& report, std::span<uint8_t> packet) {
    return PackMessageBody(kMoneyLayout, kMoneyReportSize, report, packet);
}

bool Unpack(std::span<const uint8_t> packet, stMoneyReport& report) {
    if (!UnpackMessage(kMoneyLayout, kMoneyReportSize,
                       {CMD_FLOAT_REPORT, CMD_CASH_IN_REPORT, CMD_PAYOUT_REPORT}, packet, report)) {
        return false;
    }
    report.command = PacketCommand(packet);
    return true;
}

std::vector<uint8_t> Pack(const stStepReport& report) {
    return BuildPacket(CMD_STEP_REPORT, kStepReportSize,
                       [&](std::span<uint8_t> packet) { return PackBody(report, packet); });
}

bool PackBody(const stStepReport& report, std::span<uint8_t> packet) {
    return PackMessageBody(kStepLayout, kStepReportSize, report, packet);
}

bool Unpack(std::span<const uint8_t> packet, stStepReport& report) {
    return UnpackMessage(kStepLayout, kStepReportSize, {CMD_STEP_REPORT}, packet, report);
}

}  // namespace hx
