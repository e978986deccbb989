#include "channel/queue_data.h"

#include <algorithm>
#include <mutex>

#include "net/byte_order.h"
#include "net/packet_header.h"

namespace hx {

namespace {

// The totals change under one lock for the whole process.
std::mutex& TotalsMutex() {
    static std::mutex mutex;
    return mutex;
}
int g_totCount = 0;
int64_t g_totSize = 0;

void AddToTotals(int count, int64_t size) {
    std::lock_guard lock(TotalsMutex());
    g_totCount += count;
    g_totSize += size;
}

}  // namespace

CQueueData::CQueueData() {
    AddToTotals(1, 0);
}

CQueueData::CQueueData(const uint8_t* data, int length) {
    if (data != nullptr && length > 0) {
        m_data = std::make_unique<uint8_t[]>(static_cast<size_t>(length));
        std::copy(data, data + length, m_data.get());
        m_length = length;
    }
    AddToTotals(1, m_length);
}

CQueueData::~CQueueData() {
    AddToTotals(-1, -static_cast<int64_t>(m_length));
}

void CQueueData::Move(CQueueData& target) {
    if (&target == this) {
        return;
    }
    target.Release();
    target.m_data = std::move(m_data);
    target.m_length = m_length;
    m_length = 0;
}

void CQueueData::Release() {
    AddToTotals(0, -static_cast<int64_t>(m_length));
    m_data.reset();
    m_length = 0;
}

uint32_t CQueueData::GetCommand() const {
    return m_length >= static_cast<int>(kPacketHeaderSize) ? LoadLe32(m_data.get() + HDR_COMMAND)
                                                           : 0;
}

int64_t CQueueData::GetTotSize() {
    std::lock_guard lock(TotalsMutex());
    return g_totSize;
}

int CQueueData::GetTotCount() {
    std::lock_guard lock(TotalsMutex());
    return g_totCount;
}

}  // namespace hx
