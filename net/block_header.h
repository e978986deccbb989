#pragma once
// The 16-byte header in front of every block on the wire, most significant
// byte first:
//   0 magic 0x1234 | 2 flags | 4 raw length | 6 payload length (all u16)
//   8 payload CRC-32 | 12 CRC-32 of these 16 bytes with this field 0 (u32)

#include <cstddef>
#include <cstdint>

namespace hx {

inline constexpr size_t kBlockHeaderSize = 16;
inline constexpr uint16_t kBlockMagic = 0x1234;

struct stBlockHeader {
    uint16_t magic = kBlockMagic;
    uint16_t flags = 0;
    uint16_t rawLength = 0;
    uint16_t payloadLength = 0;
    uint32_t payloadCrc = 0;
    uint32_t headerCrc = 0;
};

// Writes the header most significant byte first with its checksum filled in.
void PackBlockHeader(const stBlockHeader& header, uint8_t* out);

// Accepts a header in either byte order. Returns IO_OK, IO_BAD_MAGIC or
// IO_BAD_HEADER_CRC.
int UnpackBlockHeader(const uint8_t* in, stBlockHeader& header);

}  // namespace hx
