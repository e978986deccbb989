#pragma once
// The server's sales summary since the last settlement, the answer to the
// sales summary request. Amounts in won, counts in pieces.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace hx {

inline constexpr size_t kSalesSummaryAnswerSize = 124;
inline constexpr size_t kSalesSummarySize = 88;  // the answer's body

struct stSalesSummary {
    int32_t totalSales = 0;
    int32_t cashSales = 0;
    int32_t inserted1000 = 0;
    int32_t inserted5000 = 0;
    int32_t inserted10000 = 0;
    int32_t inserted50000 = 0;
    int32_t returned1000 = 0;
    int32_t returned5000 = 0;
    int32_t returned10000 = 0;
    int32_t returned50000 = 0;
    int32_t keyCardsIssued = 0;
    int32_t cardSales = 0;
    int32_t cardApprovalsAmount = 0;
    int32_t cardApprovals = 0;
    int32_t cardCancelsAmount = 0;
    int32_t cardCancels = 0;
};

// Pack, PackBody and Unpack as for every message (room_records.h); the
// summary's slots that the kiosk does not use are packed as zero.
std::vector<uint8_t> Pack(const stSalesSummary& summary);
bool PackBody(const stSalesSummary& summary, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stSalesSummary& summary);

}  // namespace hx
