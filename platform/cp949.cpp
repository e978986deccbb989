#include "platform/cp949.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace hx {

// The system's iconv carries the complete code page 949 table (it calls it
// CP949 or UHC); a table of our own would be 17,000 entries to keep right.

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

// iconv descriptors are not safe to share between threads and are costly to
// open, so each thread opens its pair once.
class CIconvDescriptor {
public:
    CIconvDescriptor(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~CIconvDescriptor() {
        if (IsOpen()) {
            iconv_close(m_handle);
        }
    }
    CIconvDescriptor(const CIconvDescriptor&) = delete;
    CIconvDescriptor& operator=(const CIconvDescriptor&) = delete;

    bool IsOpen() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return m_handle; }

private:
    iconv_t m_handle;
};

struct stThreadCodecs {
    CIconvDescriptor toCp949{"CP949", "UTF-8"};
    CIconvDescriptor toUtf8{"UTF-8", "CP949"};
};

stThreadCodecs& ThreadCodecs() {
    thread_local stThreadCodecs codecs;
    return codecs;
}

// Without a descriptor (no code page modules installed) ASCII still passes.
size_t CopyAsciiPrefix(std::string_view input, std::string& out) {
    size_t length = 0;
    while (length < input.size() && static_cast<unsigned char>(input[length]) < 0x80) {
        ++length;
    }
    out.append(input.substr(0, length));
    return length;
}

// Converts from the start of input up to its end or the first sequence the
// descriptor refuses; returns the number of input bytes consumed.
size_t ConvertRun(const CIconvDescriptor& descriptor, std::string_view input, std::string& out) {
    if (!descriptor.IsOpen()) {
        return CopyAsciiPrefix(input, out);
    }
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[1024];
    for (;;) {
        char* outPos = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(descriptor.Handle(), &in, &inLeft, &outPos, &outLeft);
        out.append(buffer, static_cast<size_t>(outPos - buffer));
        if (result != static_cast<size_t>(-1) || errno != E2BIG) {
            break;
        }
    }
    return input.size() - inLeft;
}

using InvalidLengthFn = size_t (*)(std::string_view text, size_t at);

std::string Convert(const CIconvDescriptor& descriptor, std::string_view input,
                    InvalidLengthFn invalidLength) {
    std::string out;
    out.reserve(input.size() + input.size() / 2);
    if (descriptor.IsOpen()) {
        iconv(descriptor.Handle(), nullptr, nullptr, nullptr, nullptr);
    }
    size_t at = 0;
    while (at < input.size()) {
        at += ConvertRun(descriptor, input.substr(at), out);
        if (at < input.size()) {
            out += '?';
            at += invalidLength(input, at);
        }
    }
    return out;
}

}  // namespace

std::string Cp949FromUtf8(std::string_view utf8) {
    return Convert(ThreadCodecs().toCp949, utf8, Utf8CharLength);
}

std::string Utf8FromCp949(std::string_view cp949) {
    return Convert(ThreadCodecs().toUtf8, cp949, Cp949CharLength);
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
