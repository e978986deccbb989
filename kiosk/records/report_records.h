#pragma once
// Reports the kiosk sends and the server acknowledges: device events, note
// and card counts, and the steps of a guest's visit.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "kiosk/records/kiosk_command.h"

namespace hx {

inline constexpr size_t kDeviceEventSize = 2104;
inline constexpr size_t kMoneyReportSize = 64;
inline constexpr size_t kStepReportSize = 1076;

struct stDeviceEvent {
    int32_t code = 0;
    int32_t cleared = 0;  // 1 = the condition has cleared, 0 = it occurred
    std::string text;     // cut to 2047 bytes
    int64_t time = 0;     // seconds since 1970
};

// The float report (the notes held), the cash-in report (1 for each
// denomination whose count rose) and the payout report (notes and cards that
// left) share one layout. The float report carries no time.
struct stMoneyReport {
    uint32_t command = CMD_FLOAT_REPORT;  // or CMD_CASH_IN_REPORT, CMD_PAYOUT_REPORT
    int32_t notes1000 = 0;
    int32_t notes5000 = 0;
    int32_t notes10000 = 0;
    int32_t keyCards = 0;  // float: blank cards held; payout: cards issued; cash-in: 0
    int64_t time = 0;
};

struct stStepReport {
    int32_t code = 0;
    std::string text;  // cut to 1023 bytes
    int64_t time = 0;
};

// Pack, PackBody and Unpack as for every message (room_records.h).
std::vector<uint8_t> Pack(const stDeviceEvent& event);
bool PackBody(const stDeviceEvent& event, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stDeviceEvent& event);

std::vector<uint8_t> Pack(const stMoneyReport& report);
bool PackBody(const stMoneyReport& report, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stMoneyReport& report);

std::vector<uint8_t> Pack(const stStepReport& report);
bool PackBody(const stStepReport& report, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stStepReport& report);

}  // namespace hx
