#include "net/block_writer.h"

#include "net/crc32.h"
#include "net/io_types.h"
#include "net/scramble.h"

namespace hx {

namespace {

constexpr uint16_t kCodingBits = IOOPT_COMPRESS | IOOPT_ZLIB;

bool RunLengthSelected(uint32_t options) {
    return (options & kCodingBits) == IOOPT_COMPRESS;
}

bool ZlibSelected(uint32_t options) {
    return (options & kCodingBits) == kCodingBits;
}

}  // namespace

int CBlockWriter::Write(const uint8_t* data, size_t length, uint32_t options) {
    while (length > 0) {
        size_t taken = m_buff.Append(data, length, RunLengthSelected(options));
        data += taken;
        length -= taken;
        if (m_buff.IsFull()) {
            if (int result = Close(options); result != IO_OK) {
                return result;
            }
        }
    }
    return IO_OK;
}

// Returns the block flags: the option word with the coding bits cleared
// whenever the block goes out uncompressed.
uint16_t CBlockWriter::ChooseCoding(uint32_t options) {
    auto flags = static_cast<uint16_t>(options);
    if (!(flags & IOOPT_COMPRESS)) {
        flags &= ~kCodingBits;  // a lone zlib bit would announce an empty payload
    }
    if (ZlibSelected(options)) {
        long coded =
            m_zlib.Encode(m_buff.Raw(), m_buff.RawLength(), m_buff.Packed(), CTRxBuff::kAreaSize);
        if (coded < 0) {
            flags &= ~kCodingBits;
        } else {
            m_buff.SetPackedLength(static_cast<size_t>(coded));
        }
    }
    if ((flags & kCodingBits) && m_buff.PackedLength() >= m_buff.RawLength()) {
        flags &= ~kCodingBits;
    }
    return flags;
}

int CBlockWriter::Close(uint32_t options) {
    if (m_buff.IsEmpty()) {
        return IO_OK;
    }
    stBlockHeader header;
    header.flags = ChooseCoding(options);
    bool packed = (header.flags & kCodingBits) != 0;
    uint8_t* payload = packed ? m_buff.Packed() : m_buff.Raw();
    size_t payloadLength = packed ? m_buff.PackedLength() : m_buff.RawLength();
    header.rawLength = static_cast<uint16_t>(m_buff.RawLength());
    header.payloadLength = static_cast<uint16_t>(payloadLength);
    if (header.flags & IOOPT_CHECKSUM) {
        header.payloadCrc = Crc32(payload, payloadLength);
    }
    if (header.flags & IOOPT_SCRAMBLE) {
        Scramble(payload, payloadLength);
    }
    uint8_t* block = payload - kBlockHeaderSize;
    PackBlockHeader(header, block);
    int result = m_io.SendRaw(block, payloadLength + kBlockHeaderSize);
    m_buff.Reset();
    if (result == IO_OK) {
        m_counters.AddBlock(header.rawLength, header.payloadLength);
    }
    return result;
}

}  // namespace hx
