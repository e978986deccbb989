#include "net/net_log.h"

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>

#include "net/io_types.h"
#include "net/log.h"
#include "platform/drive.h"

namespace {

constexpr size_t kDumpBytes = 50;

}  // namespace

void WriteNetLog(const char* format, ...) {
    static std::mutex mutex;
    static std::unique_ptr<CLog> log;
    static std::filesystem::path drive;
    char line[CLog::kMaxRecord + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::lock_guard lock(mutex);
    // A new drive folder (set at start-up, or by a test) gets a file of its own.
    if (!log || drive != GetDriveFolder()) {
        drive = GetDriveFolder();
        log = std::make_unique<CLog>(CLog::LOG_FILE, 4, "HxNet.log");
    }
    log->Write(1, "%s", line);
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
