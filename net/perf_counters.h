#pragma once
// Block counters of one connection direction, advanced together with the
// process totals of that direction.

#include <atomic>
#include <cstdint>

#include "net/io_types.h"

namespace hx {

struct stPerfTotals {
    std::atomic<uint32_t> value[3] = {};
};

stPerfTotals& ProcessRxTotals();
stPerfTotals& ProcessTxTotals();

class CPerfCounters {
public:
    explicit CPerfCounters(stPerfTotals& totals) : m_totals(totals) {}

    // One block, raw length + 16 and payload length + 16 (the header counts
    // in both).
    void AddBlock(uint32_t rawLength, uint32_t payloadLength);
    uint32_t Get(enumPerf which) const;
    static uint32_t GetTotal(const stPerfTotals& totals, enumPerf which);

private:
    uint32_t m_value[3] = {};
    stPerfTotals& m_totals;
};

}  // namespace hx
