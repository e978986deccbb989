#include "net/net_log.h"

#include <cstdarg>
#include <cstdio>

#include "net/diagnostic_file.h"
#include "net/io_types.h"

namespace hx {

namespace {

constexpr size_t kDumpBytes = 50;

}  // namespace

void WriteNetLog(const char* format, ...) {
    static CDiagnosticFile file("HxNet.log");
    va_list args;
    va_start(args, format);
    const std::string line = CDiagnosticFile::Format(format, args);
    va_end(args);
    file.Write(line);
}

std::string HexDump(const uint8_t* data, size_t length) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string dump;
    for (size_t i = 0; i < length && i < kDumpBytes; ++i) {
        dump += kDigits[data[i] >> 4];
        dump += kDigits[data[i] & 0x0F];
        if (i % 4 == 3) {
            dump += ' ';
        }
    }
    return dump;
}

const char* IoResultText(int result) {
    switch (result) {
        case IO_OK:
            return "ok";
        case IO_ERROR:
            return "socket error or message not as expected";
        case IO_MESSAGE_TIMEOUT:
            return "receive deadline passed";
        case IO_UNREACHABLE:
            return "host does not answer echo requests";
        case IO_HOST_UNKNOWN:
            return "host name unknown";
        case IO_CONNECT_FAILED:
            return "connect failed";
        case IO_NOT_CONNECTED:
            return "not connected";
        case IO_SOCKET_FAILED:
            return "socket cannot be created";
        case IO_BAD_ADDRESS:
            return "bad address";
        case IO_READ_TIMEOUT:
            return "no byte arrived in time";
        case IO_BAD_HEADER_CRC:
            return "header checksum mismatch";
        case IO_BAD_DATA_CRC:
            return "payload checksum mismatch";
        case IO_BAD_LENGTH:
            return "message length out of bounds";
        case IO_BAD_MAGIC:
            return "header magic not recognised";
        case IO_NO_TRANSPORT:
            return "no transport";
        case IO_CLOSED:
            return "connection closed by the peer";
        default:
            return "unknown failure";
    }
}

}  // namespace hx
