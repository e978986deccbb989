#include "net/block_reader.h"

#include "net/crc32.h"
#include "net/io_types.h"
#include "net/run_length.h"
#include "net/scramble.h"

namespace hx {

namespace {

constexpr uint16_t kCodingBits = IOOPT_COMPRESS | IOOPT_ZLIB;

}  // namespace

int CBlockReader::ReadPayload(const stBlockHeader& header, uint8_t* into, size_t length) {
    if (int result = m_io.ReadRaw(into, length); result != IO_OK) {
        return result;
    }
    if (header.flags & IOOPT_SCRAMBLE) {
        Scramble(into, length);
    }
    if ((header.flags & IOOPT_CHECKSUM) && Crc32(into, length) != header.payloadCrc) {
        return IO_BAD_DATA_CRC;
    }
    return IO_OK;
}

int CBlockReader::Decode(const stBlockHeader& header) {
    long decoded = (header.flags & kCodingBits) == kCodingBits
                       ? m_zlib.Decode(m_buff.Packed(), header.payloadLength, m_buff.Raw(),
                                       CTRxBuff::kAreaSize)
                       : RunLengthDecode(m_buff.Packed(), header.payloadLength, m_buff.Raw(),
                                         CTRxBuff::kAreaSize);
    if (decoded < 0) {
        return IO_ERROR;
    }
    m_buff.SetRawLength(static_cast<size_t>(decoded));
    return IO_OK;
}

int CBlockReader::ReadBlock() {
    m_buff.Reset();
    uint8_t head[kBlockHeaderSize];
    if (int result = m_io.ReadRaw(head, sizeof head); result != IO_OK) {
        return result;
    }
    stBlockHeader header;
    if (int result = UnpackBlockHeader(head, header); result != IO_OK) {
        return result;
    }
    bool packed = (header.flags & kCodingBits) != 0;
    size_t payloadLength = packed ? header.payloadLength : header.rawLength;
    int result = ReadPayload(header, packed ? m_buff.Packed() : m_buff.Raw(), payloadLength);
    if (result == IO_OK && packed) {
        result = Decode(header);
    } else if (result == IO_OK) {
        m_buff.SetRawLength(payloadLength);
    }
    if (result != IO_OK) {
        m_buff.Reset();
        return result;
    }
    m_counters.AddBlock(static_cast<uint32_t>(m_buff.RawLength()),
                        static_cast<uint32_t>(payloadLength));
    return IO_OK;
}

}  // namespace hx
