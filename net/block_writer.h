#pragma once
// Cuts the bytes of outgoing messages into blocks: compresses, checksums and
// scrambles each block by the option word and hands it to the connection as
// one piece.

#include <cstddef>
#include <cstdint>

#include "net/perf_counters.h"
#include "net/raw_io.h"
#include "net/trx_buff.h"
#include "net/zlib_block.h"

namespace hx {

class CBlockWriter {
public:
    CBlockWriter(CRawIO& io, CPerfCounters& counters) : m_io(io), m_counters(counters) {}

    // Appends bytes, sending a block whenever the buffer fills up.
    int Write(const uint8_t* data, size_t length, uint32_t options);

    // Sends what the buffer holds as one block (nothing when it is empty) and
    // empties the buffer whatever the outcome.
    int Close(uint32_t options);

private:
    uint16_t ChooseCoding(uint32_t options);

    CRawIO& m_io;
    CPerfCounters& m_counters;
    CTRxBuff m_buff;
    CZlibEncoder m_zlib;
};

}  // namespace hx
