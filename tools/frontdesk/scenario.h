#pragma once
// What the front desk serves and how it behaves, as read from a scenario file:
// the rooms and classes, the kiosk's configuration and options, the kiosks it
// knows, its sale rules and how it answers reports.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "kiosk/records/config_records.h"
#include "kiosk/records/room_records.h"

namespace hx {

// A machine the desk knows by its computer name or the MAC text of its first
// adapter (whichever the entry gives; both must match when both are given).
struct stKnownKiosk {
    std::string computerName;
    std::string mac;
    uint32_t terminalNo = 0;  // 0: the desk picks one
    std::string name;         // empty: the desk makes one up
    bool refuse = false;      // answer the handshake with a refusal
};

// What happens to a report (505, 506, 507, 508, 515) or a settlement (518).
enum class enumAckPolicy {
    Acknowledge,  // result 1
    Refuse,       // result 0
    Silent,       // no answer at all
};

// A sale the desk refuses on purpose; stay 0 means both stay types.
struct stSaleRefusal {
    int32_t roomNo = 0;
    int32_t stayType = 0;
    int32_t result = -2;
};

struct stSaleRules {
    std::vector<stSaleRefusal> refusals;
    int32_t unavailableResult = -3;         // the room is not vacant
    int32_t failureResult = -1;             // an unknown room or stay type
    int32_t soldState = 1;                  // the room's state once sold
    int32_t rentalMinutes = 240;            // day use, when the room gives no duration
    int32_t checkoutMinuteOfDay = 12 * 60;  // overnight stays end at the next one
};

struct stScenario {
    std::vector<stClass4Class> classes;
    std::vector<stRoom4Kiosk> rooms;
    stKioskConfig config;
    stKioskOptions options;
    std::vector<stKnownKiosk> kiosks;
    bool refuseUnknownKiosks = false;
    std::string updateId;
    int32_t startupResult = 1;            // the start-up answer; 1 makes the kiosk show "Ready!"
    std::filesystem::path pictureFolder;  // empty: no pictures
    bool sendPicturesOnConnect = false;
    stSaleRules sales;
    std::map<uint32_t, enumAckPolicy> ackPolicies;  // by command; missing: acknowledge
};

enumAckPolicy AckPolicyFor(const stScenario& scenario, uint32_t command);

}  // namespace hx
