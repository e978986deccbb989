#include "kiosk/records/summary_records.h"

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/record_layout.h"

namespace hx {

namespace {

// Offsets in the packet: the summary starts right after the header.
using S = stSalesSummary;
constexpr stInt32Field<S> kSummaryInts[] = {
    {40, &S::totalSales},           {44, &S::cashSales},      {48, &S::inserted1000},
    {52, &S::inserted5000},         {56, &S::inserted10000},  {60, &S::inserted50000},
    {76, &S::returned1000},         {80, &S::returned5000},   {84, &S::returned10000},
    {88, &S::returned50000},        {92, &S::keyCardsIssued}, {104, &S::cardSales},
    {108, &S::cardApprovalsAmount}, {112, &S::cardApprovals}, {116, &S::cardCancelsAmount},
    {120, &S::cardCancels},
};
constexpr stLayout<S> kSummaryLayout{kSummaryInts};

}  // namespace

std::vector<uint8_t> Pack(const stSalesSummary& summary) {
    return BuildPacket(CMD_SALES_SUMMARY, kSalesSummaryAnswerSize,
                       [&](std::span<uint8_t> packet) { return PackBody(summary, packet); });
}

bool PackBody(const stSalesSummary& summary, std::span<uint8_t> packet) {
    return PackMessageBody(kSummaryLayout, kSalesSummaryAnswerSize, summary, packet);
}

bool Unpack(std::span<const uint8_t> packet, stSalesSummary& summary) {
    return UnpackMessage(kSummaryLayout, kSalesSummaryAnswerSize, {CMD_SALES_SUMMARY}, packet,
                         summary);
}

}  // namespace hx
