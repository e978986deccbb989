#include "net/crc32.h"

#include <gtest/gtest.h>

#include <vector>

#include "net/testing_cksum.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_random.h"

namespace hx {

namespace {

TEST(Crc32, CheckValues) {
    for (auto crc : {Crc32, Crc32Bytewise, Crc32Sliced}) {
        EXPECT_EQ(crc("123456789", 9, 0), 0x89A1897Fu);
        EXPECT_EQ(crc("abc", 3, 0), 0x2C17398Cu);
        EXPECT_EQ(crc("", 0, 0), 0u);
    }
}

// Every kernel must give the table algorithm's result for any length, any
// alignment and any running value, including the short tails and stripe
// boundaries of the folding kernel.
TEST(Crc32, KernelsMatchTheTableAlgorithm) {
    CTestRandom random(20240611);
    std::vector<uint8_t> pool = random.Bytes(70000);
    for (int round = 0; round < 3000; ++round) {
        size_t length = round < 600 ? static_cast<size_t>(round) : random.Next() % 66000;
        size_t offset = random.Next() % 64;
        uint32_t start = round % 3 == 0 ? 0 : random.Next();
        const uint8_t* p = pool.data() + offset;
        uint32_t expected = Crc32Bytewise(p, length, start);
        ASSERT_EQ(Crc32(p, length, start), expected) << "length " << length << " offset " << offset;
        ASSERT_EQ(Crc32Sliced(p, length, start), expected) << "length " << length;
    }
}

TEST(Crc32, SplitComputationContinues) {
    std::vector<uint8_t> data = RandomBytes(100000, 7);
    uint32_t whole = Crc32(data.data(), data.size());
    for (size_t cut : {size_t{1}, size_t{63}, size_t{4096}, size_t{99999}}) {
        EXPECT_EQ(Crc32(data.data() + cut, data.size() - cut, Crc32(data.data(), cut)), whole);
    }
}

// The system's cksum uses the same polynomial, then feeds the length and
// inverts: agreeing with it checks the polynomial against an independent
// implementation.
TEST(Crc32, AgreesWithSystemCksum) {
    const std::vector<uint8_t> data = RandomBytes(300001, 99);
    const CTempFolder folder;
    const std::filesystem::path file = folder.Path() / "data";
    ASSERT_TRUE(WriteWholeFile(file, data));

    const std::optional<uint32_t> expected = RunSystemCksum(file);
    if (!expected) {
        GTEST_SKIP() << "cksum not available";
    }
    EXPECT_EQ(CksumOf(data), *expected);
}

}  // namespace

}  // namespace hx
