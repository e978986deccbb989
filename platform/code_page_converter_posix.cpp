#include <iconv.h>

#include <cerrno>

#include "platform/code_page_converter.h"

namespace hx {

// The system's iconv carries the complete code page 949 table (it calls it
// CP949 or UHC); a table of our own would be 17,000 entries to keep right.

namespace {

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
    iconv(descriptor.Handle(), nullptr, nullptr, nullptr, nullptr);
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

}  // namespace

size_t ConvertCodePageRun(enumCodePageDirection direction, std::string_view input,
                          std::string& out) {
    stThreadCodecs& codecs = ThreadCodecs();
    return ConvertRun(
        direction == enumCodePageDirection::Utf8ToCp949 ? codecs.toCp949 : codecs.toUtf8, input,
        out);
}

}  // namespace hx
