#include "platform/page_outbox.h"

#include <utility>

namespace hx {

CPageOutbox::CPageOutbox(std::size_t limitBytes, WriteFrame write, ClosePage close)
    : m_limitBytes(limitBytes),
      m_write(std::move(write)),
      m_close(std::move(close)),
      m_writer([this] { Run(); }) {}

CPageOutbox::~CPageOutbox() {
    Stop();
}

enumQueued CPageOutbox::Queue(std::string frame) {
    {
        std::lock_guard lock(m_lock);
        if (m_closing || m_stopping) {
            return enumQueued::Closed;
        }
        if (!m_frames.empty() && m_waitingBytes + frame.size() > m_limitBytes) {
            m_closing = true;
            DropWaitingFrames();
            m_changed.notify_one();
            return enumQueued::Overflowed;
        }
        m_waitingBytes += frame.size();
        m_frames.push_back(std::move(frame));
    }
    m_changed.notify_one();
    return enumQueued::Queued;
}

void CPageOutbox::Stop() {
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
        DropWaitingFrames();
    }
    m_changed.notify_one();
    if (m_writer.joinable()) {
        m_writer.join();
    }
}

void CPageOutbox::Run() {
    std::unique_lock lock(m_lock);
    while (true) {
        m_changed.wait(lock, [this] { return m_stopping || m_closing || !m_frames.empty(); });
        if (m_stopping) {
            return;
        }
        if (m_closing) {
            break;
        }
        const std::string frame = std::move(m_frames.front());
        m_frames.pop_front();
        m_waitingBytes -= frame.size();
        lock.unlock();
        const bool written = m_write(frame);
        lock.lock();
        if (!written && !m_closing) {
            m_closing = true;
            DropWaitingFrames();
        }
    }
    lock.unlock();
    m_close();
}

void CPageOutbox::DropWaitingFrames() {
    m_frames.clear();
    m_waitingBytes = 0;
}

}  // namespace hx
