#include "net/crc32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "net/crc32_clmul.h"

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

struct stKernel {
    const char* name;
    uint32_t (*crc)(const uint8_t*, size_t, uint32_t);
    bool supported;
};

std::vector<stKernel> Kernels() {
    return {
        {"dispatched", [](const uint8_t* p, size_t n, uint32_t c) { return Crc32(p, n, c); }, true},
        {"sliced", [](const uint8_t* p, size_t n, uint32_t c) { return Crc32Sliced(p, n, c); },
         true},
        {"clmul", Crc32Clmul, Crc32ClmulSupported()},
        {"wide clmul", Crc32WideClmul, Crc32WideClmulSupported()}};
}

// Every kernel must give the table algorithm's result for any length, any
// alignment and any running value, including the short tails and stripe
// boundaries of the folding kernels.
TEST(Crc32, KernelsMatchTheTableAlgorithm) {
    CTestRandom random(20240611);
    std::vector<uint8_t> pool = random.Bytes(70000);
    for (const stKernel& kernel : Kernels()) {
        if (!kernel.supported) {
            std::printf("%s kernel not on this processor\n", kernel.name);
            continue;
        }
        for (int round = 0; round < 3000; ++round) {
            size_t length = round < 1100 ? static_cast<size_t>(round) : random.Next() % 66000;
            size_t offset = random.Next() % 64;
            uint32_t start = round % 3 == 0 ? 0 : random.Next();
            const uint8_t* p = pool.data() + offset;
            ASSERT_EQ(kernel.crc(p, length, start), Crc32Bytewise(p, length, start))
                << kernel.name << " length " << length << " offset " << offset;
        }
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
