#pragma once
// The 20-byte header in front of every message, least significant byte first:
//   0 magic 0x1234 (u16) | 2 reserved (u16) | 4 length (i32) | 8, 12 reserved
//   16 checksum
// The checksum is the CRC-32 of the header with the checksum field 0 and the
// four 32-bit fields written most significant byte first (bytes 0..3 as they
// are). For length N: 34 12 00 00, N most significant byte first, 12 zeros.

#include <cstddef>
#include <cstdint>

namespace hx {

inline constexpr size_t kMessageHeaderSize = 20;
inline constexpr uint16_t kMessageMagic = 0x1234;

struct stMessageHeader {
    uint16_t magic = kMessageMagic;
    uint16_t reserved = 0;
    int32_t length = 0;  // signed: a peer's "negative" length is refused, not trusted
    uint32_t reserved1 = 0;
    uint32_t reserved2 = 0;
    uint32_t checksum = 0;
};

void PackMessageHeader(int32_t length, uint8_t* out);

// Accepts a header in either byte order. Returns IO_OK, IO_BAD_MAGIC or
// IO_BAD_HEADER_CRC; the length is not judged here.
int UnpackMessageHeader(const uint8_t* in, stMessageHeader& header);

}  // namespace hx
