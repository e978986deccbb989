#include "net/run_length.h"

#include <cstring>

namespace {

constexpr size_t kMaxGroup = 127;
constexpr uint8_t kRunFlag = 0x80;

size_t EmitLiterals(const uint8_t* from, size_t count, uint8_t* out) {
    if (count == 0) {
        return 0;
    }
    out[0] = static_cast<uint8_t>(count);
    std::memcpy(out + 1, from, count);
    return count + 1;
}

size_t RunLengthAt(const uint8_t* input, size_t length, size_t i) {
    size_t run = 1;
    while (run < kMaxGroup && i + run < length && input[i + run] == input[i]) {
        ++run;
    }
    return run;
}

}  // namespace

size_t RunLengthEncode(const uint8_t* input, size_t length, uint8_t* out) {
    size_t written = 0;
    size_t literalStart = 0;
    size_t i = 0;
    while (i < length) {
        // The two last bytes of an input never start a run.
        if (i + 2 < length && input[i] == input[i + 1] && input[i] == input[i + 2]) {
            written += EmitLiterals(input + literalStart, i - literalStart, out + written);
            size_t run = RunLengthAt(input, length, i);
            out[written++] = static_cast<uint8_t>(kRunFlag + run);
            out[written++] = input[i];
            i += run;
            literalStart = i;
            continue;
        }
        ++i;
        if (i - literalStart == kMaxGroup || i == length) {
            written += EmitLiterals(input + literalStart, i - literalStart, out + written);
            literalStart = i;
        }
    }
    return written;
}

long RunLengthDecode(const uint8_t* coded, size_t length, uint8_t* out, size_t capacity) {
    size_t produced = 0;
    size_t pos = 0;
    while (pos < length) {
        uint8_t control = coded[pos++];
        if (control < kRunFlag) {
            size_t count = control;
            if (count > length - pos || count > capacity - produced) {
                return -1;
            }
            std::memcpy(out + produced, coded + pos, count);
            pos += count;
            produced += count;
        } else {
            size_t count = control - kRunFlag;
            if (pos == length || count > capacity - produced) {
                return -1;
            }
            std::memset(out + produced, coded[pos++], count);
            produced += count;
        }
    }
    return static_cast<long>(produced);
}
