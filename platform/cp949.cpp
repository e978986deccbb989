#include "platform/cp949.h"

#include <cstdint>

#include "platform/code_page_converter.h"

namespace hx {

namespace {

bool IsCp949Lead(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool IsCp949Trail(unsigned char byte) {
    return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) ||
           (byte >= 0x81 && byte <= 0xFE);
}

bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at text[at], or 1 when it is malformed,
// so a bad byte costs one '?' and the text after it is still converted.
size_t Utf8CharLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    uint32_t codePoint = 0;
    uint32_t smallest = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return 1;
    }
    if (text.size() - at < length) {
        return 1;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!IsUtf8Continuation(byte)) {
            return 1;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < smallest || surrogate || codePoint > 0x10FFFF) {
        return 1;
    }
    return length;
}

using InvalidLengthFn = size_t (*)(std::string_view text, size_t at);

std::string Convert(enumCodePageDirection direction, std::string_view input,
                    InvalidLengthFn invalidLength) {
    std::string out;
    out.reserve(input.size() + input.size() / 2);
    size_t at = 0;
    while (at < input.size()) {
        at += ConvertCodePageRun(direction, input.substr(at), out);
        if (at < input.size()) {
            out += '?';
            at += invalidLength(input, at);
        }
    }
    return out;
}

}  // namespace

std::string Cp949FromUtf8(std::string_view utf8) {
    return Convert(enumCodePageDirection::Utf8ToCp949, utf8, Utf8CharLength);
}

std::string Utf8FromCp949(std::string_view cp949) {
    return Convert(enumCodePageDirection::Cp949ToUtf8, cp949, Cp949CharLength);
}

size_t Cp949CharLength(std::string_view text, size_t at) {
    const bool pair = at + 1 < text.size() && IsCp949Lead(static_cast<unsigned char>(text[at])) &&
                      IsCp949Trail(static_cast<unsigned char>(text[at + 1]));
    return pair ? 2 : 1;
}

size_t Cp949PrefixLength(std::string_view cp949, size_t maxBytes) {
    size_t length = 0;
    while (length < cp949.size()) {
        const size_t next = length + Cp949CharLength(cp949, length);
        if (next > maxBytes) {
            break;
        }
        length = next;
    }
    return length;
}

}  // namespace hx
