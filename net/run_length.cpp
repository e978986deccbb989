#include "net/run_length.h"

#include <bit>
#include <cstring>

namespace hx {

namespace {

constexpr size_t kMaxGroup = 127;
constexpr uint8_t kRunFlag = 0x80;
constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

uint64_t LoadWord(const uint8_t* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return std::endian::native == std::endian::little ? word : __builtin_bswap64(word);
}

// Where the next run of three equal bytes starts at or after i, or length
// when none does before the last two bytes (which never start a run). Eight
// positions at a time: a zero byte in (w ^ w>>8) | (w ^ w>>16) marks one.
size_t NextRunStart(const uint8_t* input, size_t length, size_t i) {
    for (; i + 10 <= length; i += 8) {
        uint64_t differs = (LoadWord(input + i) ^ LoadWord(input + i + 1)) |
                           (LoadWord(input + i) ^ LoadWord(input + i + 2));
        uint64_t zeroBytes = (differs - kOnes) & ~differs & kHighs;
        if (zeroBytes != 0) {
            return i + static_cast<size_t>(std::countr_zero(zeroBytes)) / 8;
        }
    }
    for (; i + 2 < length; ++i) {
        if (input[i] == input[i + 1] && input[i] == input[i + 2]) {
            return i;
        }
    }
    return length;
}

// Length of the run of equal bytes starting at i, at most 127; eight bytes at
// a time against the byte repeated.
size_t RunLengthAt(const uint8_t* input, size_t length, size_t i) {
    const size_t limit = length - i < kMaxGroup ? length - i : kMaxGroup;
    const uint64_t repeated = kOnes * input[i];
    size_t run = 1;
    for (; run + 8 <= limit; run += 8) {
        uint64_t differs = LoadWord(input + i + run) ^ repeated;
        if (differs != 0) {
            return run + static_cast<size_t>(std::countr_zero(differs)) / 8;
        }
    }
    while (run < limit && input[i + run] == input[i]) {
        ++run;
    }
    return run;
}

// Literal groups of at most 127 bytes.
size_t EmitLiterals(const uint8_t* from, size_t count, uint8_t* out) {
    size_t written = 0;
    while (count > 0) {
        size_t group = count < kMaxGroup ? count : kMaxGroup;
        out[written] = static_cast<uint8_t>(group);
        std::memcpy(out + written + 1, from, group);
        written += group + 1;
        from += group;
        count -= group;
    }
    return written;
}

}  // namespace

size_t RunLengthEncode(const uint8_t* input, size_t length, uint8_t* out) {
    size_t written = 0;
    size_t i = 0;
    while (i < length) {
        size_t runStart = NextRunStart(input, length, i);
        written += EmitLiterals(input + i, runStart - i, out + written);
        if (runStart == length) {
            break;
        }
        size_t run = RunLengthAt(input, length, runStart);
        out[written++] = static_cast<uint8_t>(kRunFlag + run);
        out[written++] = input[runStart];
        i = runStart + run;
    }
    return written;
}

long RunLengthDecode(const uint8_t* coded, size_t length, uint8_t* out, size_t capacity) {
    // Groups are short and many: while there is slack on both sides, every
    // group is copied as a fixed 128 bytes (the excess is overwritten by the
    // next group or lies past the decoded end), which beats a call per group.
    constexpr size_t kWide = kMaxGroup + 1;
    size_t produced = 0;
    size_t pos = 0;
    while (pos < length) {
        uint8_t control = coded[pos++];
        bool wide = length - pos >= kWide && capacity - produced >= kWide;
        if (control < kRunFlag) {
            size_t count = control;
            if (wide) {
                std::memcpy(out + produced, coded + pos, kWide);
            } else if (count <= length - pos && count <= capacity - produced) {
                std::memcpy(out + produced, coded + pos, count);
            } else {
                return -1;
            }
            pos += count;
            produced += count;
        } else {
            size_t count = control - kRunFlag;
            if (wide) {
                std::memset(out + produced, coded[pos], kWide);
            } else if (pos < length && count <= capacity - produced) {
                std::memset(out + produced, coded[pos], count);
            } else {
                return -1;
            }
            ++pos;
            produced += count;
        }
    }
    return static_cast<long>(produced);
}

}  // namespace hx
