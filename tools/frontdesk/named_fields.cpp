#include "tools/frontdesk/named_fields.h"

namespace hx {

namespace {

using Room = stRoom4Kiosk;
using Class = stClass4Class;
using Config = stKioskConfig;
using Options = stKioskOptions;

// The merge mark and the operation are the kiosk's and the wire's business,
// never a scenario's.
const stNamedField<Room> kRoomFields[] = {
    {"roomNo", &Room::roomNo},
    {"classId", &Room::classId},
    {"state", &Room::state},
    {"lockGroup", &Room::lockGroup},
    {"displayMode", &Room::displayMode},
    {"firstPrice", &Room::firstPrice},
    {"secondPrice", &Room::secondPrice},
    {"serverStamp", nullptr, &Room::serverStamp},
    {"name", nullptr, nullptr, &Room::name},
    {"rentalDuration", nullptr, nullptr, &Room::rentalDuration},
    {"lockNo", &Room::lockNo},
};

const stNamedField<Class> kClassFields[] = {
    {"classId", &Class::classId},
    {"classValue", &Class::classValue},
    {"name", nullptr, nullptr, &Class::name},
};

const stNamedField<Config> kConfigFields[] = {
    {"rentalRestricted", &Config::rentalRestricted},
    {"rentalStartHour", &Config::rentalStartHour},
    {"rentalStartMinute", &Config::rentalStartMinute},
    {"rentalEndHour", &Config::rentalEndHour},
    {"rentalEndMinute", &Config::rentalEndMinute},
    {"sleepRestricted", &Config::sleepRestricted},
    {"sleepStartHour", &Config::sleepStartHour},
    {"sleepStartMinute", &Config::sleepStartMinute},
    {"sleepEndHour", &Config::sleepEndHour},
    {"sleepEndMinute", &Config::sleepEndMinute},
    {"showAllRooms", &Config::showAllRooms},
    {"dispenser1Denomination", &Config::dispenser1Denomination},
    {"dispenser1LowStock", &Config::dispenser1LowStock},
    {"dispenser2Denomination", &Config::dispenser2Denomination},
    {"dispenser2LowStock", &Config::dispenser2LowStock},
    {"hotelRegion", &Config::hotelRegion},
    {"hotelSequence", &Config::hotelSequence},
    {"dispenserDriver", &Config::dispenserDriver},
};

const stNamedField<Options> kOptionFields[] = {
    {"deviceName", nullptr, nullptr, &Options::deviceName},
    {"paymentTypes", &Options::paymentTypes},
    {"sound", &Options::sound},
    {"inService", &Options::inService},
    {"ticketFooter", nullptr, nullptr, &Options::ticketFooter},
};

}  // namespace

std::span<const stNamedField<stRoom4Kiosk>> RoomFields() {
    return kRoomFields;
}

std::span<const stNamedField<stClass4Class>> ClassFields() {
    return kClassFields;
}

std::span<const stNamedField<stKioskConfig>> ConfigFields() {
    return kConfigFields;
}

std::span<const stNamedField<stKioskOptions>> OptionFields() {
    return kOptionFields;
}

}  // namespace hx
