#include "net/lock_exception.h"

#include <cstdio>

#include "net/log.h"
#include "platform/local_time.h"

namespace hx {

namespace {

constexpr int kRecordLevel = 4;

}  // namespace

CLockException::CLockException(const char* file, int line) : m_file(file), m_line(line) {
    char message[kMessageSize];
    GetErrorMessage(message, sizeof message);
    CLog log(CLog::LOG_FILE, kRecordLevel, "Mutex.log");
    log.Write(kRecordLevel, "%s", message);
}

int CLockException::GetErrorMessage(char* buffer, unsigned size, unsigned* /*helpContext*/) const {
    const std::string when = LocalTimeText(GetLocalTimeNow());
    if (m_file != nullptr) {
        std::snprintf(buffer, size,
                      "Lock Exception! : Ver. 1.3-8\r\n\tSrc=%s, Line=%d\r\n\t%s\r\n\r\n", m_file,
                      m_line, when.c_str());
    } else {
        std::snprintf(buffer, size, "Lock Exception! : Ver. 1.3-8\r\n\t%s\r\n\r\n", when.c_str());
    }
    return 1;
}

}  // namespace hx
