#include "net/trx_buff.h"

#include <algorithm>
#include <cstring>

#include "net/run_length.h"

namespace hx {

static_assert(CTRxBuff::kBlockThreshold + RunLengthBound(CTRxBuff::kPieceSize) <=
                  CTRxBuff::kAreaSize,
              "a last coded piece must still fit the compressed area");

CTRxBuff::CTRxBuff() : m_storage(new uint8_t[2 * (kBlockHeaderSize + kAreaSize)]) {}

size_t CTRxBuff::Append(const uint8_t* data, size_t length, bool runLength) {
    size_t taken = 0;
    while (taken < length && !IsFull()) {
        size_t piece = std::min({kPieceSize, length - taken, kBlockThreshold - m_rawLength});
        std::memcpy(Raw() + m_rawLength, data + taken, piece);
        if (runLength) {
            m_packedLength += RunLengthEncode(data + taken, piece, Packed() + m_packedLength);
        }
        m_rawLength += piece;
        taken += piece;
    }
    return taken;
}

bool CTRxBuff::IsFull() const {
    return m_rawLength >= kBlockThreshold || m_packedLength >= kBlockThreshold;
}

size_t CTRxBuff::Take(uint8_t* out, size_t length) {
    size_t count = std::min(length, Unread());
    std::memcpy(out, Raw() + m_readPos, count);
    m_readPos += count;
    return count;
}

void CTRxBuff::Reset() {
    m_rawLength = 0;
    m_packedLength = 0;
    m_readPos = 0;
}

}  // namespace hx
