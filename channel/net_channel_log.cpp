#include "channel/net_channel_log.h"

#include <cstdarg>
#include <string>

#include "net/diagnostic_file.h"
#include "platform/cp949.h"

namespace hx {

void WriteChannelLog(const char* format, ...) {
    static CDiagnosticFile file("HxChannel.log");
    va_list args;
    va_start(args, format);
    const std::string line = CDiagnosticFile::Format(format, args);
    va_end(args);
    // Log files, like every file the kiosk writes, are code page 949.
    file.Write(Cp949FromUtf8(line) + "\r\n");
}

}  // namespace hx
