#pragma once
// Reads one block at a time from the connection, checks and decodes it by the
// flags in its header (never by our own options) and hands out its bytes.

#include <cstddef>
#include <cstdint>

#include "net/perf_counters.h"
#include "net/raw_io.h"
#include "net/trx_buff.h"
#include "net/zlib_block.h"

namespace hx {

class CBlockReader {
public:
    CBlockReader(CRawIO& io, CPerfCounters& counters) : m_io(io), m_counters(counters) {}

    // Reads and decodes the next block; meant for when every decoded byte has
    // been taken. A failed block leaves nothing to take. Returns IO_OK,
    // IO_BAD_MAGIC, IO_BAD_HEADER_CRC, IO_BAD_DATA_CRC, IO_ERROR (a payload
    // that does not decode into 65,536 bytes) or the connection's failure.
    int ReadBlock();

    size_t Unread() const { return m_buff.Unread(); }
    const uint8_t* UnreadData() { return m_buff.UnreadData(); }
    size_t Take(uint8_t* out, size_t length) { return m_buff.Take(out, length); }
    // Forgets the decoded bytes not yet taken.
    void Discard() { m_buff.Reset(); }

private:
    int ReadPayload(const stBlockHeader& header, uint8_t* into, size_t length);
    int Decode(const stBlockHeader& header);

    CRawIO& m_io;
    CPerfCounters& m_counters;
    CTRxBuff m_buff;
    CZlibDecoder m_zlib;
};

}  // namespace hx
