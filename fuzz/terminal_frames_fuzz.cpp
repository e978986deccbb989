// Any bytes from either end of the card terminal's connection: a whole frame
// never takes more than it was given, and what it says survives being written
// again and read back.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "platform/terminal_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    // A buffer of exactly the input's size, so a sanitizer sees any overread.
    const std::vector<uint8_t> bytes(data, data + size);
    const stTerminalFrameRead read = DecodeTerminalFrame(bytes);
    if (read.status != stTerminalFrameRead::Complete) {
        Require(read.consumed == 0);
        return 0;
    }
    Require(read.consumed >= kTerminalFrameHeader && read.consumed <= size);
    Require(read.consumed <= kMaxTerminalFrame + 4);
    const std::vector<uint8_t> again = EncodeTerminalFrame(read.frame);
    Require(again.size() == read.consumed);
    const stTerminalFrameRead reread = DecodeTerminalFrame(again);
    Require(reread.status == stTerminalFrameRead::Complete);
    Require(reread.consumed == again.size());
    Require(reread.frame == read.frame);
    return 0;
}
