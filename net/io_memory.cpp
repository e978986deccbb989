#include "net/io_memory.h"

#include <climits>
#include <cstring>

namespace hx {

void CIOMemory::AddIncoming(const uint8_t* data, size_t length) {
    m_incoming.insert(m_incoming.end(), data, data + length);
}

int CIOMemory::SendRaw(const uint8_t* data, size_t length) {
    m_sent.insert(m_sent.end(), data, data + length);
    return IO_OK;
}

int CIOMemory::ReadRaw(uint8_t* data, size_t length) {
    if (length == 0) {
        return IO_OK;
    }
    if (length > m_incoming.size() - m_readPos) {
        m_readPos = m_incoming.size();
        return IO_CLOSED;
    }
    std::memcpy(data, m_incoming.data() + m_readPos, length);
    m_readPos += length;
    return IO_OK;
}

// Like a closed socket, the end of the stream is always "readable".
int CIOMemory::WaitRx(int /*timeoutMs*/) {
    return 1;
}

int CIOMemory::TransportReady() {
    size_t left = m_incoming.size() - m_readPos;
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

}  // namespace hx
