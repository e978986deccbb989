#pragma once
// The frames between the card terminal control and the terminal program,
// on TCP (127.0.0.1:13855). Our own small protocol, so that a real terminal
// program can be bridged to it:
//
//   frame   = length (4 bytes, big-endian, what follows) kind (1 byte) body
//   request = kind 'Q', body = fields        (control -> terminal)
//   answer  = kind 'A', body = fields        (terminal -> control, ends a request)
//   state   = kind 'S', body = state code    (terminal -> control, e.g. "1M")
//   exit    = kind 'X', body = exit code (4 bytes, big-endian, signed)
//   fields  = count (2 bytes) then per field: number (2 bytes), length
//             (4 bytes), text (CP949)
//
// A connection carries one request: the control connects, sends it, and
// reads states until the answer comes. The terminal program announces its
// end with an exit frame on any open connection, then closes it. A frame
// longer than kMaxTerminalFrame is refused before it is read.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace hx {

inline constexpr size_t kMaxTerminalFrame = 64 * 1024;
inline constexpr size_t kTerminalFrameHeader = 5;

enum class enumTerminalFrame : uint8_t {
    Request = 'Q',
    Answer = 'A',
    State = 'S',
    Exit = 'X',
};

struct stTerminalFrame {
    enumTerminalFrame kind = enumTerminalFrame::Request;
    // Request and answer fields, in the order they were set.
    std::vector<std::pair<int16_t, std::string>> fields;
    std::string state;     // state
    int32_t exitCode = 0;  // exit

    bool operator==(const stTerminalFrame&) const = default;
};

std::vector<uint8_t> EncodeTerminalFrame(const stTerminalFrame& frame);

// What the reader of a byte stream does next.
struct stTerminalFrameRead {
    enum enumStatus { Incomplete, Complete, Invalid } status = Incomplete;
    size_t consumed = 0;  // bytes of a complete frame
    stTerminalFrame frame;
};

// Reads the frame at the start of `bytes`; Invalid for an unknown kind, a
// length over the limit or a body that does not add up.
stTerminalFrameRead DecodeTerminalFrame(std::span<const uint8_t> bytes);

}  // namespace hx
