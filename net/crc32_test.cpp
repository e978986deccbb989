#include "net/crc32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace hx {

namespace {

std::vector<uint8_t> RandomBytes(size_t length, std::mt19937& rng) {
    std::vector<uint8_t> bytes(length);
    for (auto& b : bytes) {
        b = static_cast<uint8_t>(rng());
    }
    return bytes;
}

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
    std::mt19937 rng(20240611);
    std::vector<uint8_t> pool = RandomBytes(70000, rng);
    for (int round = 0; round < 3000; ++round) {
        size_t length = round < 600 ? static_cast<size_t>(round) : rng() % 66000;
        size_t offset = rng() % 64;
        uint32_t start = round % 3 == 0 ? 0 : static_cast<uint32_t>(rng());
        const uint8_t* p = pool.data() + offset;
        uint32_t expected = Crc32Bytewise(p, length, start);
        ASSERT_EQ(Crc32(p, length, start), expected) << "length " << length << " offset " << offset;
        ASSERT_EQ(Crc32Sliced(p, length, start), expected) << "length " << length;
    }
}

TEST(Crc32, SplitComputationContinues) {
    std::mt19937 rng(7);
    std::vector<uint8_t> data = RandomBytes(100000, rng);
    uint32_t whole = Crc32(data.data(), data.size());
    for (size_t cut : {size_t{1}, size_t{63}, size_t{4096}, size_t{99999}}) {
        EXPECT_EQ(Crc32(data.data() + cut, data.size() - cut, Crc32(data.data(), cut)), whole);
    }
}

// The system's cksum uses the same polynomial, then feeds the length and
// inverts: agreeing with it checks the polynomial against an independent
// implementation.
TEST(Crc32, AgreesWithSystemCksum) {
    std::mt19937 rng(99);
    std::vector<uint8_t> data = RandomBytes(300001, rng);
    auto path = std::filesystem::temp_directory_path() / ("hxnet_cksum_" + std::to_string(rng()));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));

    std::string command = "cksum < '" + path.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    unsigned long expected = 0;
    unsigned long length = 0;
    int fields = fscanf(pipe, "%lu %lu", &expected, &length);
    pclose(pipe);
    std::filesystem::remove(path);
    if (fields != 2) {
        GTEST_SKIP() << "cksum not available";
    }

    uint32_t crc = Crc32(data.data(), data.size());
    for (size_t n = data.size(); n != 0; n >>= 8) {
        uint8_t b = static_cast<uint8_t>(n);
        crc = Crc32(&b, 1, crc);
    }
    EXPECT_EQ(~crc, expected);
}

}  // namespace

}  // namespace hx
