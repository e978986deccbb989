#pragma once
// The guest's purchase sent to the server, and the server's answer.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "kiosk/records/approval_record.h"
#include "kiosk/records/room_records.h"

namespace hx {

inline constexpr size_t kSaleRequestSize = 912;
inline constexpr size_t kSaleAnswerSize = 668;

enum enumStayType : int32_t {
    STAY_RENTAL = 1,  // day use
    STAY_SLEEP = 2,   // overnight
};

// The sale answer's result when the server accepted the sale.
inline constexpr int32_t kSaleAccepted = 1;

struct stSaleRequest {
    int32_t roomNo = 0;
    int32_t stayType = 0;  // enumStayType
    int32_t amount = 0;    // won
    int32_t cashAmount = 0;
    int32_t cardAmount = 0;
    stCardApproval approval;  // all zero for a cash sale
};

struct stSaleAnswer {
    int32_t result = 0;   // kSaleAccepted, else the reason of the refusal
    std::string endTime;  // "YYYY-MM-DD HH:MM:SS" by position, local time
    stRoom4Kiosk room;    // the sold room with its new state
};

// Pack, PackBody and Unpack as for every message (room_records.h).
std::vector<uint8_t> Pack(const stSaleRequest& request);
bool PackBody(const stSaleRequest& request, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stSaleRequest& request);

std::vector<uint8_t> Pack(const stSaleAnswer& answer);
bool PackBody(const stSaleAnswer& answer, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stSaleAnswer& answer);

}  // namespace hx
