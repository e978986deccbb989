// zlib-format block coding against zlib itself, both ways: the peer may be
// any zlib reader or writer.
#include "net/zlib_block.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/trx_buff.h"
#include "tests/support/test_random.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

// Room records as the server lists them: number and class name texts, prices,
// state words and a check-out time in fields padded with zeros.
Bytes RoomRecords(size_t count) {
    constexpr size_t kRecordSize = 116;
    constexpr uint8_t kClassName[] = {0xC6, 0xAF, 0xBD, 0xC7, 0x20, 0xB7, 0xEB};  // CP949
    Bytes records(count * kRecordSize);
    for (size_t i = 0; i < count; ++i) {
        uint8_t* record = records.data() + i * kRecordSize;
        const std::string number = std::to_string(301 + i);
        std::memcpy(record, number.data(), number.size());
        std::memcpy(record + 16, kClassName, sizeof kClassName);
        const uint32_t fields[] = {40000, 60000, static_cast<uint32_t>(i % 3), 1,
                                   static_cast<uint32_t>(i % 5 == 0)};
        std::memcpy(record + 48, fields, sizeof fields);
        const int64_t checkOut = 1718600000 + static_cast<int64_t>(i) * 1800;
        std::memcpy(record + 80, &checkOut, sizeof checkOut);
    }
    return records;
}

struct stSample {
    const char* name;
    Bytes bytes;
};

std::vector<stSample> Samples() {
    return {{"room records", RoomRecords(30)},
            {"few symbols", CTestRandom(5).Bytes(45056, 16)},
            {"noise", RandomBytes(45056, 6)},
            {"zeros", Bytes(CTRxBuff::kBlockThreshold, 0)},
            {"shortest coded", Bytes(kZlibMinInput, 0x55)}};
}

Bytes ZlibCompressed(const Bytes& input, int level) {
    Bytes coded(compressBound(input.size()));
    uLongf length = coded.size();
    EXPECT_EQ(compress2(coded.data(), &length, input.data(), input.size(), level), Z_OK);
    coded.resize(length);
    return coded;
}

TEST(ZlibBlock, PlainZlibReadsWhatWeWriteWithOneReusedEncoder) {
    CZlibEncoder encoder;
    Bytes coded(CTRxBuff::kAreaSize);
    for (int round = 0; round < 2; ++round) {
        for (const stSample& sample : Samples()) {
            const Bytes& input = sample.bytes;
            long length = encoder.Encode(input.data(), input.size(), coded.data(), coded.size());
            ASSERT_GT(length, 0) << sample.name;
            Bytes decoded(input.size() + 1);
            uLongf decodedLength = decoded.size();
            ASSERT_EQ(uncompress(decoded.data(), &decodedLength, coded.data(),
                                 static_cast<uLong>(length)),
                      Z_OK)
                << sample.name;
            decoded.resize(decodedLength);
            EXPECT_EQ(decoded, input) << sample.name << " round " << round;
        }
    }
}

TEST(ZlibBlock, WeReadWhatPlainZlibWritesAtAnyLevel) {
    CZlibDecoder decoder;
    for (const stSample& sample : Samples()) {
        for (int level : {0, 1, Z_DEFAULT_COMPRESSION, 9}) {
            const Bytes coded = ZlibCompressed(sample.bytes, level);
            Bytes decoded(CTRxBuff::kAreaSize);
            long length =
                decoder.Decode(coded.data(), coded.size(), decoded.data(), decoded.size());
            ASSERT_EQ(length, static_cast<long>(sample.bytes.size()))
                << sample.name << " level " << level;
            decoded.resize(static_cast<size_t>(length));
            EXPECT_EQ(decoded, sample.bytes) << sample.name << " level " << level;
        }
    }
}

TEST(ZlibBlock, CodesRoomRecordsAtLeastAsSmallAsZlibsDefaultLevel) {
    const Bytes records = RoomRecords(30);
    Bytes coded(CTRxBuff::kAreaSize);
    long length = CZlibEncoder().Encode(records.data(), records.size(), coded.data(), coded.size());
    ASSERT_GT(length, 0);
    EXPECT_LE(static_cast<size_t>(length), ZlibCompressed(records, Z_DEFAULT_COMPRESSION).size());
}

TEST(ZlibBlock, RefusesShortInputDamageAndWhatDoesNotFit) {
    CZlibEncoder encoder;
    CZlibDecoder decoder;
    Bytes out(CTRxBuff::kAreaSize);
    const Bytes tooShort(kZlibMinInput - 1, 0x55);
    EXPECT_EQ(encoder.Encode(tooShort.data(), tooShort.size(), out.data(), out.size()), -1);
    const Bytes noise = RandomBytes(4096, 8);
    EXPECT_EQ(encoder.Encode(noise.data(), noise.size(), out.data(), 100), -1);

    const Bytes input = RoomRecords(30);
    Bytes coded = ZlibCompressed(input, Z_DEFAULT_COMPRESSION);
    EXPECT_EQ(decoder.Decode(coded.data(), coded.size(), out.data(), input.size() - 1), -1);
    EXPECT_EQ(decoder.Decode(coded.data(), coded.size() - 1, out.data(), out.size()), -1);
    coded.back() ^= 0x01;  // the Adler-32 of the decoded bytes
    EXPECT_EQ(decoder.Decode(coded.data(), coded.size(), out.data(), out.size()), -1);
    // Still sound after the failures.
    coded.back() ^= 0x01;
    EXPECT_EQ(decoder.Decode(coded.data(), coded.size(), out.data(), out.size()),
              static_cast<long>(input.size()));
}

}  // namespace

}  // namespace hx
