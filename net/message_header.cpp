#include "net/message_header.h"

#include "net/byte_order.h"
#include "net/crc32.h"
#include "net/io_types.h"

namespace hx {

namespace {

uint32_t HeaderChecksum(const stMessageHeader& header) {
    uint8_t form[kMessageHeaderSize];
    StoreLe16(form, header.magic);
    StoreLe16(form + 2, header.reserved);
    StoreBe32(form + 4, static_cast<uint32_t>(header.length));
    StoreBe32(form + 8, header.reserved1);
    StoreBe32(form + 12, header.reserved2);
    StoreBe32(form + 16, 0);
    return Crc32(form, sizeof form);
}

}  // namespace

void PackMessageHeader(int32_t length, uint8_t* out) {
    stMessageHeader header;
    header.length = length;
    StoreLe16(out, header.magic);
    StoreLe16(out + 2, header.reserved);
    StoreLe32(out + 4, static_cast<uint32_t>(header.length));
    StoreLe32(out + 8, header.reserved1);
    StoreLe32(out + 12, header.reserved2);
    StoreLe32(out + 16, HeaderChecksum(header));
}

int UnpackMessageHeader(const uint8_t* in, stMessageHeader& header) {
    bool leastSignificantFirst = LoadLe16(in) == kMessageMagic;
    if (!leastSignificantFirst && LoadBe16(in) != kMessageMagic) {
        return IO_BAD_MAGIC;
    }
    auto load32 = leastSignificantFirst ? LoadLe32 : LoadBe32;
    header.magic = kMessageMagic;
    header.reserved = LoadLe16(in + 2);  // travels as it is in both orders
    header.length = static_cast<int32_t>(load32(in + 4));
    header.reserved1 = load32(in + 8);
    header.reserved2 = load32(in + 12);
    header.checksum = load32(in + 16);
    return HeaderChecksum(header) == header.checksum ? IO_OK : IO_BAD_HEADER_CRC;
}

}  // namespace hx
