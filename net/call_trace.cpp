#include "net/call_trace.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "net/net_log.h"

namespace hx {

void CCallTrace::Record(const char* operation, const void* data, int length) {
    stCall call;
    call.operation = operation;
    call.address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data));
    call.length = length;
    call.count = static_cast<uint8_t>(std::clamp<int>(length, 0, kDumpBytes));
    if (data != nullptr) {
        std::memcpy(call.bytes.data(), data, call.count);
    }
    const std::lock_guard lock(m_lock);
    m_calls[m_next] = call;
    m_next = (m_next + 1) % kCalls;
    m_count = std::min(m_count + 1, kCalls);
}

std::string CCallTrace::TakeLines() {
    const std::lock_guard lock(m_lock);
    std::string lines;
    for (size_t i = 0; i < m_count; ++i) {
        const stCall& call = m_calls[(m_next + kCalls - m_count + i) % kCalls];
        char head[96];
        std::snprintf(head, sizeof head, "%s(0x%08x, %d)\r\n\t", call.operation,
                      static_cast<unsigned>(call.address), call.length);
        lines += head;
        lines += HexDump(call.bytes.data(), call.count);
        lines += "\r\n";
    }
    m_count = 0;
    return lines;
}

}  // namespace hx
