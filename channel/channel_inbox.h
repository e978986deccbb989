#pragma once
// One connection's received messages on their way from the reader thread to
// the owner's thread, and the first failure of that link. The channel and its
// worker threads share it (and the connection), so a worker that a stop gave
// up waiting for still works on live objects, never on a channel or a
// connection that is gone.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/window_types.h"

namespace hx {

class CIOPacket;

class CChannelInbox {
public:
    // Many room lists' worth; beyond it the reader waits for the screen.
    static constexpr size_t kMaxBytes = 16 * 1024 * 1024;

    // `owner` gets `dataMessage` posted when there is something to take.
    CChannelInbox(HWND owner, UINT dataMessage) : m_owner(owner), m_dataMessage(dataMessage) {}
    CChannelInbox(const CChannelInbox&) = delete;
    CChannelInbox& operator=(const CChannelInbox&) = delete;

    // The reader's pass: one whole message off the connection into the inbox
    // (1), nothing waiting (0), or the link failed or the inbox is full (-1).
    int ReceiveFrom(CIOPacket& connection);
    // From any thread: the first failure ends the link; the owner hears of it.
    void Fail(int result);
    // The first failure (an io_result), 0 while the link is sound.
    int Failure() const { return m_failure; }

    // The oldest message, or nothing.
    std::optional<std::vector<uint8_t>> Take();
    // The owner is taking messages now, so the next arrival posts again.
    void ClearPosted() { m_posted = false; }
    // Tells the owner there is something to take, unless it was told already.
    void Post();

private:
    const HWND m_owner;
    const UINT m_dataMessage;
    std::mutex m_mutex;
    std::deque<std::vector<uint8_t>> m_messages;
    size_t m_bytes = 0;
    std::atomic<int> m_failure{0};
    std::atomic<bool> m_posted{false};
};

}  // namespace hx
