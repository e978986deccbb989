#include "net/block_header.h"

#include "net/byte_order.h"
#include "net/crc32.h"
#include "net/io_types.h"

namespace hx {

namespace {

void StoreFields(const stBlockHeader& header, uint32_t headerCrc, uint8_t* out) {
    StoreBe16(out, header.magic);
    StoreBe16(out + 2, header.flags);
    StoreBe16(out + 4, header.rawLength);
    StoreBe16(out + 6, header.payloadLength);
    StoreBe32(out + 8, header.payloadCrc);
    StoreBe32(out + 12, headerCrc);
}

// The header checksum covers the most-significant-first form, whatever order
// the header travelled in.
uint32_t HeaderCrc(const stBlockHeader& header) {
    uint8_t form[kBlockHeaderSize];
    StoreFields(header, 0, form);
    return Crc32(form, sizeof form);
}

}  // namespace

void PackBlockHeader(const stBlockHeader& header, uint8_t* out) {
    StoreFields(header, HeaderCrc(header), out);
}

int UnpackBlockHeader(const uint8_t* in, stBlockHeader& header) {
    bool mostSignificantFirst = LoadBe16(in) == kBlockMagic;
    if (!mostSignificantFirst && LoadLe16(in) != kBlockMagic) {
        return IO_BAD_MAGIC;
    }
    auto load16 = mostSignificantFirst ? LoadBe16 : LoadLe16;
    auto load32 = mostSignificantFirst ? LoadBe32 : LoadLe32;
    header.magic = kBlockMagic;
    header.flags = load16(in + 2);
    header.rawLength = load16(in + 4);
    header.payloadLength = load16(in + 6);
    header.payloadCrc = load32(in + 8);
    header.headerCrc = load32(in + 12);
    return HeaderCrc(header) == header.headerCrc ? IO_OK : IO_BAD_HEADER_CRC;
}

}  // namespace hx
