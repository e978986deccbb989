#pragma once
// The channel's writer: packets queued from the UI thread go out on a thread
// of their own, so a server that stops reading can stall only this thread,
// never the screen. The first failed send ends the sender; what was queued
// after it is dropped, as a lost connection drops it.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace hx {

class CIOPacket;

class CChannelSender {
public:
    // Far more than a kiosk sends between two passes of its loop.
    static constexpr size_t kMaxQueuedBytes = 4 * 1024 * 1024;
    // Called on the sender's thread with the failed send's result.
    using FailureHandler = std::function<void(int result)>;

    // connection must outlive the sender.
    CChannelSender(CIOPacket& connection, FailureHandler onFailure);
    // Sends nothing more and waits for a send in progress: interrupt the
    // connection first when it must not wait for a blocked peer.
    ~CChannelSender();
    CChannelSender(const CChannelSender&) = delete;
    CChannelSender& operator=(const CChannelSender&) = delete;

    // Copies the packet into the queue; false once a send has failed or when
    // the queue already holds kMaxQueuedBytes.
    bool Queue(std::span<const uint8_t> packet);

private:
    void Run();

    CIOPacket& m_connection;
    FailureHandler m_onFailure;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::vector<uint8_t>> m_queue;
    size_t m_queuedBytes = 0;
    bool m_stopping = false;
    bool m_failed = false;
    std::thread m_thread;
};

}  // namespace hx
