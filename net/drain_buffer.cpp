#include "net/drain_buffer.h"

#include <algorithm>
#include <cstring>

namespace hx {

bool CDrainBuffer::MakeRoom() {
    while (FreeSize() < kRoom) {
        if (m_read > m_data.size() / 2) {
            std::memmove(m_data.data(), m_data.data() + m_read, Count());
            m_end -= m_read;
            m_read = 0;
        } else if (2 * m_data.size() <= kMaxSize) {
            m_data.resize(2 * m_data.size());
        } else {
            return false;
        }
    }
    return true;
}

size_t CDrainBuffer::Take(uint8_t* out, size_t length) {
    size_t count = std::min(length, Count());
    if (count > 0) {
        std::memcpy(out, m_data.data() + m_read, count);
        m_read += count;
    }
    if (m_read == m_end) {
        m_read = m_end = 0;
    }
    return count;
}

}  // namespace hx
