#pragma once
// The last calls of one socket object, kept in memory. They reach the
// transport's log only when a call fails, so the log tells what led up to a
// failure without a disk write for every message: a kiosk that runs for
// months sends and receives millions of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

namespace hx {

class CCallTrace {
public:
    static constexpr size_t kCalls = 32;
    static constexpr size_t kDumpBytes = 50;

    // `operation` must outlive the trace (a literal).
    void Record(const char* operation, const void* data, int length);
    // The calls recorded since the last take, oldest first, as log lines:
    // "Send(0x%08x, %d)" and a tab-indented dump of the first bytes.
    std::string TakeLines();

private:
    struct stCall {
        const char* operation = "";
        uint32_t address = 0;
        int length = 0;
        uint8_t count = 0;
        std::array<uint8_t, kDumpBytes> bytes{};
    };

    std::mutex m_lock;  // the reader and the sender thread share a connection
    std::array<stCall, kCalls> m_calls;
    size_t m_next = 0;
    size_t m_count = 0;
};

}  // namespace hx
