#include "kiosk/records/config_records.h"

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/record_layout.h"

namespace hx {

namespace {

using C = stKioskConfig;
constexpr stInt32Field<C> kConfigInts[] = {
    {36, &C::rentalRestricted},   {40, &C::rentalStartHour},
    {44, &C::rentalStartMinute},  {48, &C::rentalEndHour},
    {52, &C::rentalEndMinute},    {56, &C::sleepRestricted},
    {60, &C::sleepStartHour},     {64, &C::sleepStartMinute},
    {68, &C::sleepEndHour},       {72, &C::sleepEndMinute},
    {76, &C::showAllRooms},       {80, &C::dispenser1Denomination},
    {84, &C::dispenser1LowStock}, {88, &C::dispenser2Denomination},
    {92, &C::dispenser2LowStock}, {96, &C::hotelRegion},
    {100, &C::hotelSequence},     {104, &C::dispenserDriver},
};
constexpr stLayout<C> kConfigLayout{kConfigInts};

using O = stKioskOptions;
constexpr stInt32Field<O> kOptionInts[] = {
    {292, &O::paymentTypes},
    {296, &O::sound},
    {300, &O::inService},
};
constexpr stTextField<O> kOptionTexts[] = {
    {36, 256, &O::deviceName},
    {304, 256, &O::ticketFooter},
};
constexpr stLayout<O> kOptionsLayout{kOptionInts, {}, kOptionTexts};

}  // namespace

std::vector<uint8_t> Pack(const stKioskConfig& config) {
    return BuildPacket(CMD_KIOSK_CONFIG, kKioskConfigSize,
                       [&](std::span<uint8_t> packet) { return PackBody(config, packet); });
}

bool PackBody(const stKioskConfig& config, std::span<uint8_t> packet) {
    return PackMessageBody(kConfigLayout, kKioskConfigSize, config, packet);
}

bool Unpack(std::span<const uint8_t> packet, stKioskConfig& config) {
    return UnpackMessage(kConfigLayout, kKioskConfigSize, {CMD_KIOSK_CONFIG}, packet, config);
}

std::vector<uint8_t> Pack(const stKioskOptions& options) {
    return BuildPacket(CMD_KIOSK_OPTIONS, kKioskOptionsSize,
                       [&](std::span<uint8_t> packet) { return PackBody(options, packet); });
}

bool PackBody(const stKioskOptions& options, std::span<uint8_t> packet) {
    return PackMessageBody(kOptionsLayout, kKioskOptionsSize, options, packet);
}

bool Unpack(std::span<const uint8_t> packet, stKioskOptions& options) {
    return UnpackMessage(kOptionsLayout, kKioskOptionsSize, {CMD_KIOSK_OPTIONS}, packet, options);
}

}  // namespace hx
