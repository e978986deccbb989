#include "tools/prnsim/escpos_reader.h"

#include <optional>
#include <string_view>

#include "platform/cp949.h"

namespace hx {

namespace {

constexpr uint8_t kLf = 0x0A;
constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kGs = 0x1D;
constexpr uint8_t kDle = 0x10;
constexpr uint8_t kEot = 0x04;

using Bytes = std::span<const uint8_t>;

// How many bytes the next piece takes (0: more are needed) and, unless they
// are rejected, the command they make.
struct stReading {
    size_t length = 0;
    std::optional<stPrinterCommand> command;
};

constexpr stReading kNeedMore{};

stReading Command(size_t length, enumPrinterOp op, int value = 0) {
    return {length, stPrinterCommand{op, value}};
}

stReading Rejected(size_t length) {
    return {length, std::nullopt};
}

bool IsCp949Lead(uint8_t byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// The whole characters at the start of `rest` up to the first control byte.
stReading ReadText(Bytes rest) {
    const std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());
    size_t length = 0;
    while (length < rest.size() && rest[length] >= 0x20) {
        if (IsCp949Lead(rest[length]) && length + 1 == rest.size()) {
            break;  // its partner has not come yet
        }
        length += Cp949CharLength(text, length);
    }
    return length == 0 ? kNeedMore : Command(length, enumPrinterOp::Text);
}

std::optional<int> AlignmentValue(uint8_t n) {
    if (n <= 2) {
        return n;
    }
    if (n >= '0' && n <= '2') {
        return n - '0';
    }
    return std::nullopt;
}

// A sequence's command byte is never a control byte: one there may start the
// next command, so only the ESC or GS before it is lost.
bool HasCommandByte(Bytes rest) {
    return rest[1] >= 0x20;
}

stReading ReadEscape(Bytes rest) {
    if (rest.size() < 2) {
        return kNeedMore;
    }
    if (!HasCommandByte(rest)) {
        return Rejected(1);
    }
    const uint8_t code = rest[1];
    if (code == '@') {
        return Command(2, enumPrinterOp::Initialise);
    }
    if (code != 'E' && code != 'a' && code != 'J') {
        return Rejected(2);
    }
    if (rest.size() < 3) {
        return kNeedMore;
    }
    const uint8_t n = rest[2];
    if (code == 'E') {
        return Command(3, enumPrinterOp::Bold, n & 1);
    }
    if (code == 'J') {
        return Command(3, enumPrinterOp::FeedDots, n);
    }
    const std::optional<int> align = AlignmentValue(n);
    return align ? Command(3, enumPrinterOp::Align, *align) : Rejected(3);
}

stReading ReadCut(Bytes rest) {
    if (rest.size() < 3) {
        return kNeedMore;
    }
    const uint8_t mode = rest[2];
    if (mode == 0 || mode == 1 || mode == 48 || mode == 49) {
        return Command(3, enumPrinterOp::Cut);
    }
    if (mode != 65 && mode != 66) {
        return Rejected(3);
    }
    return rest.size() < 4 ? kNeedMore : Command(4, enumPrinterOp::Cut, rest[3]);
}

stReading ReadGroup(Bytes rest) {
    if (rest.size() < 2) {
        return kNeedMore;
    }
    if (!HasCommandByte(rest)) {
        return Rejected(1);
    }
    if (rest[1] == 'V') {
        return ReadCut(rest);
    }
    if (rest[1] != '!') {
        return Rejected(2);
    }
    if (rest.size() < 3) {
        return kNeedMore;
    }
    // Width and height go up to 8 times.
    const bool fits = (rest[2] & 0x88) == 0;
    return fits ? Command(3, enumPrinterOp::CharacterSize, rest[2]) : Rejected(3);
}

stReading ReadRealTime(Bytes rest) {
    if (rest.size() < 2) {
        return kNeedMore;
    }
    if (rest[1] != kEot) {
        return Rejected(1);
    }
    if (rest.size() < 3) {
        return kNeedMore;
    }
    const uint8_t n = rest[2];
    return n >= 1 && n <= 4 ? Command(3, enumPrinterOp::StatusRequest, n) : Rejected(3);
}

stReading ReadAny(Bytes rest) {
    switch (rest[0]) {
        case kLf:
            return Command(1, enumPrinterOp::LineFeed);
        case kEsc:
            return ReadEscape(rest);
        case kGs:
            return ReadGroup(rest);
        case kDle:
            return ReadRealTime(rest);
        default:
            return rest[0] >= 0x20 ? ReadText(rest) : Rejected(1);
    }
}

}  // namespace

size_t CEscPosReader::ReadPiece(std::span<const uint8_t> rest,
                                std::vector<stPrinterPiece>& pieces) const {
    const stReading reading = ReadAny(rest);
    if (reading.length == 0) {
        return 0;
    }
    const std::span<const uint8_t> bytes = rest.first(reading.length);
    if (reading.command) {
        AddCommand(bytes, *reading.command, pieces);
    } else {
        AddRejected(bytes, "outside the subset", pieces);
    }
    return reading.length;
}

}  // namespace hx
