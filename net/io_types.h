#pragma once
// Result codes, option bits and counter indexes shared by every transport
// operation.

#include <cstdint>

namespace hx {

enum io_result : int {
    IO_OK = 1,
    IO_ERROR = -1,  // socket error, or the peer's message does not fit what was asked
    IO_MESSAGE_TIMEOUT = -78,
    IO_UNREACHABLE = -79,
    IO_HOST_UNKNOWN = -81,
    IO_CONNECT_FAILED = -82,
    IO_NOT_CONNECTED = -83,
    IO_SOCKET_FAILED = -84,
    IO_BAD_ADDRESS = -85,
    IO_READ_TIMEOUT = -90,
    IO_BAD_HEADER_CRC = -91,
    IO_BAD_DATA_CRC = -92,
    IO_BAD_LENGTH = -93,  // a message announced as empty, negative or above the largest taken
    IO_BAD_MAGIC = -96,
    IO_NO_TRANSPORT = -97,
    IO_CLOSED = -99,
};

// The option word of a connection; its low 16 bits travel as the flags of
// every block it sends.
enum enumIoOption : uint32_t {
    IOOPT_COMPRESS = 0x01,  // run-length coding, or zlib together with IOOPT_ZLIB
    IOOPT_CHECKSUM = 0x02,
    IOOPT_SCRAMBLE = 0x04,
    IOOPT_MESSAGE = 0x08,  // every send carries a message header
    IOOPT_ZLIB = 0x10,     // only meaningful together with IOOPT_COMPRESS
    IOOPT_DEFAULT = 0x0F,
};

enum enumIoExtOption : uint32_t {
    IOEXT_NOPING = 0x01,  // connect without the reachability test
};

enum enumPerf : int {
    PERF_BLOCKS = 0,
    PERF_RAW_BYTES = 1,   // bytes before compression, 16 per block header
    PERF_WIRE_BYTES = 2,  // bytes on the wire, 16 per block header
};

// A word with IOOPT_ZLIB but not IOOPT_COMPRESS would announce compressed
// blocks with empty payloads, so such words are never accepted.
inline bool IsValidOptionWord(uint32_t options) {
    return (options & (IOOPT_COMPRESS | IOOPT_ZLIB)) != IOOPT_ZLIB;
}

}  // namespace hx
