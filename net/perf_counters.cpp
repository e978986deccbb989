#include "net/perf_counters.h"

#include "net/block_header.h"

namespace hx {

stPerfTotals& ProcessRxTotals() {
    static stPerfTotals totals;
    return totals;
}

stPerfTotals& ProcessTxTotals() {
    static stPerfTotals totals;
    return totals;
}

void CPerfCounters::AddBlock(uint32_t rawLength, uint32_t payloadLength) {
    constexpr auto kHeader = static_cast<uint32_t>(kBlockHeaderSize);
    const uint32_t add[3] = {1, rawLength + kHeader, payloadLength + kHeader};
    for (int i = 0; i < 3; ++i) {
        m_value[i] += add[i];
        m_totals.value[i].fetch_add(add[i], std::memory_order_relaxed);
    }
}

uint32_t CPerfCounters::Get(enumPerf which) const {
    return which >= 0 && which < 3 ? m_value[which] : 0;
}

uint32_t CPerfCounters::GetTotal(const stPerfTotals& totals, enumPerf which) {
    return which >= 0 && which < 3 ? totals.value[which].load(std::memory_order_relaxed) : 0;
}

}  // namespace hx
