#pragma once
// One direction's block buffer: a raw area and a compressed area of 65,536
// bytes each, with room for a block header in front of each so a block goes
// out as one piece. Allocated once, reused for every block.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "net/block_header.h"

namespace hx {

class CTRxBuff {
public:
    static constexpr size_t kAreaSize = 65536;
    static constexpr size_t kBlockThreshold = 45056;  // raw bytes per block sent
    static constexpr size_t kPieceSize = 4096;        // bytes copied and coded at a time

    CTRxBuff();
    CTRxBuff(const CTRxBuff&) = delete;
    CTRxBuff& operator=(const CTRxBuff&) = delete;

    // Both areas have kBlockHeaderSize writable bytes in front of them.
    uint8_t* Raw() { return m_storage.get() + kBlockHeaderSize; }
    uint8_t* Packed() { return Raw() + kAreaSize + kBlockHeaderSize; }

    size_t RawLength() const { return m_rawLength; }
    size_t PackedLength() const { return m_packedLength; }
    void SetRawLength(size_t length) { m_rawLength = length; }
    void SetPackedLength(size_t length) { m_packedLength = length; }

    // Copies pieces of at most kPieceSize bytes until the data is used up or
    // the buffer is full; with runLength each piece is also coded on its own
    // into the compressed area. Returns how many bytes were taken.
    size_t Append(const uint8_t* data, size_t length, bool runLength);
    bool IsFull() const;
    bool IsEmpty() const { return m_rawLength == 0 && m_packedLength == 0; }

    // Receiving side: decoded bytes not yet taken.
    size_t Unread() const { return m_rawLength - m_readPos; }
    const uint8_t* UnreadData() { return Raw() + m_readPos; }
    size_t Take(uint8_t* out, size_t length);

    void Reset();

private:
    std::unique_ptr<uint8_t[]> m_storage;
    size_t m_rawLength = 0;
    size_t m_packedLength = 0;
    size_t m_readPos = 0;
};

}  // namespace hx
