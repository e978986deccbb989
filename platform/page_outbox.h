#pragma once
// The frames on their way to one page. Any thread queues them without
// waiting; the outbox's own thread writes them, in order, one at a time. A
// page that stops reading stalls that thread and nothing else, and once more
// than a limit waits for it the page is closed: it has missed frames, and
// its script reconnects and starts afresh.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace hx {

enum class enumQueued {
    Queued,      // goes out after the frames queued before it
    Overflowed,  // too much waits: the frame is dropped and the page closed; told once
    Closed,      // the page is being closed or is gone: the frame is dropped
};

class CPageOutbox {
public:
    // Writes one whole frame, blocking for as long as the page makes it;
    // false when the frame did not go out whole.
    using WriteFrame = std::function<bool(const std::string& frame)>;
    // Asks for the page's connection to end, without waiting for it.
    using ClosePage = std::function<void()>;

    // Both functions run on the outbox's thread only. A frame that does not
    // go out whole ends the page too: what follows it could not be read.
    CPageOutbox(std::size_t limitBytes, WriteFrame write, ClosePage close);
    ~CPageOutbox();  // Stop()
    CPageOutbox(const CPageOutbox&) = delete;
    CPageOutbox& operator=(const CPageOutbox&) = delete;

    // Never waits for the page. More than limitBytes waiting overflows, but an
    // empty queue takes any frame, so one large frame does not cost a page
    // that reads.
    enumQueued Queue(std::string frame);
    // For when the page's connection has ended: drops what waits, lets the
    // frame being written finish and waits for the thread. Nothing is written
    // or closed after it returns.
    void Stop();

private:
    void Run();
    void DropWaitingFrames();  // m_lock held

    const std::size_t m_limitBytes;
    const WriteFrame m_write;
    const ClosePage m_close;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<std::string> m_frames;
    std::size_t m_waitingBytes = 0;
    bool m_closing = false;  // overflowed or a write failed: the page is to be closed
    bool m_stopping = false;
    std::thread m_writer;  // last, so that it starts when the rest is ready
};

}  // namespace hx
