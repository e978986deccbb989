#include "net/run_length.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/test_random.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Encode(const Bytes& input) {
    Bytes out(RunLengthBound(input.size()));
    out.resize(RunLengthEncode(input.data(), input.size(), out.data()));
    return out;
}

// The coding rules one byte at a time, as plainly as they read: the encoder
// proper scans eight bytes at a time and must produce exactly this.
Bytes ReferenceEncode(const Bytes& in) {
    Bytes out;
    size_t pending = 0;
    auto flush = [&](size_t end) {
        if (pending > 0) {
            out.push_back(static_cast<uint8_t>(pending));
            out.insert(out.end(), in.begin() + static_cast<long>(end - pending),
                       in.begin() + static_cast<long>(end));
            pending = 0;
        }
    };
    for (size_t i = 0; i < in.size();) {
        if (i + 2 < in.size() && in[i] == in[i + 1] && in[i] == in[i + 2]) {
            flush(i);
            size_t run = 1;
            while (run < 127 && i + run < in.size() && in[i + run] == in[i]) {
                ++run;
            }
            out.push_back(static_cast<uint8_t>(0x80 + run));
            out.push_back(in[i]);
            i += run;
            continue;
        }
        ++pending;
        ++i;
        if (pending == 127 || i == in.size()) {
            flush(i);
        }
    }
    return out;
}

long Decode(const Bytes& coded, Bytes& out) {
    return RunLengthDecode(coded.data(), coded.size(), out.data(), out.size());
}

TEST(RunLength, CodesTheDocumentedExamples) {
    struct {
        Bytes input;
        Bytes coded;
    } cases[] = {
        {{0x61, 0x62}, {0x02, 0x61, 0x62}},
        {{0x61, 0x61, 0x61, 0x61}, {0x84, 0x61}},
        {{0x61, 0x61, 0x62, 0x62, 0x62}, {0x02, 0x61, 0x61, 0x83, 0x62}},
        {Bytes(130, 0x61), {0xFF, 0x61, 0x83, 0x61}},
        {Bytes(128, 0x61), {0xFF, 0x61, 0x01, 0x61}},
        {{0x61, 0x62, 0x63, 0x61, 0x61, 0x61, 0x62},
         {0x03, 0x61, 0x62, 0x63, 0x83, 0x61, 0x01, 0x62}},
        {{}, {}},
        {{0x61, 0x61}, {0x02, 0x61, 0x61}},  // the last two bytes never start a run
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Encode(c.input), c.coded);
        Bytes out(c.input.size() + 8);
        ASSERT_EQ(Decode(c.coded, out), static_cast<long>(c.input.size()));
        out.resize(c.input.size());
        EXPECT_EQ(out, c.input);
    }
}

TEST(RunLength, LongLiteralStretchesSplitAt127) {
    Bytes input(300);
    for (size_t i = 0; i < input.size(); ++i) {
        input[i] = static_cast<uint8_t>(i);
    }
    Bytes coded = Encode(input);
    ASSERT_EQ(coded.size(), 300u + 3u);
    EXPECT_EQ(coded[0], 127);
    EXPECT_EQ(coded[128], 127);
    EXPECT_EQ(coded[256], 300 - 254);
}

TEST(RunLength, RandomInputsCodeByTheRulesAndRoundTrip) {
    CTestRandom random(5);
    for (int round = 0; round < 500; ++round) {
        const size_t length = random.Next() % 5000;
        const unsigned alphabet = 1 + random.Next() % 4;  // few symbols: many runs
        const Bytes input = random.Bytes(length, round % 2 ? alphabet : 256);
        Bytes coded = Encode(input);
        ASSERT_EQ(coded, ReferenceEncode(input)) << "round " << round;
        ASSERT_LE(coded.size(), RunLengthBound(input.size()));
        Bytes out(input.size());
        ASSERT_EQ(Decode(coded, out), static_cast<long>(input.size()));
        ASSERT_EQ(out, input);
    }
}

TEST(RunLength, DecodingRefusesCutAndOversizedInput) {
    Bytes out(16);
    EXPECT_EQ(Decode({0x05, 0x61, 0x62}, out), -1);  // literal group cut short
    EXPECT_EQ(Decode({0x84}, out), -1);              // run without its byte
    EXPECT_EQ(Decode({0x91, 0x61}, out), -1);        // 17 bytes into 16
    EXPECT_EQ(Decode({0x90, 0x61}, out), 16);        // exactly full is fine
}

}  // namespace

}  // namespace hx
