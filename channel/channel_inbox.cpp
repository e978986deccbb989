#include "channel/channel_inbox.h"

#include <memory>

#include "net/io_base.h"
#include "net/io_packet.h"
#include "platform/message_loop.h"

namespace hx {

namespace {

struct CReceiveBufferFree {
    void operator()(uint8_t* buffer) const { FreeReceiveBuffer(buffer); }
};

}  // namespace

int CChannelInbox::ReceiveFrom(CIOPacket& connection) {
    if (m_failure != 0) {
        return -1;
    }
    {
        // A screen that falls behind stops the reading, not the memory.
        std::lock_guard lock(m_mutex);
        if (m_bytes > kMaxBytes) {
            return -1;
        }
    }
    const int ready = connection.ReadReady();
    if (ready <= 0) {
        if (ready < 0) {
            Fail(IO_ERROR);
        }
        return ready;
    }
    uint8_t* buffer = nullptr;
    int length = 0;
    const int result = connection.Receive(&buffer, &length);
    const std::unique_ptr<uint8_t, CReceiveBufferFree> message(buffer);
    if (result != IO_OK) {
        Fail(result);
        return -1;
    }
    {
        std::lock_guard lock(m_mutex);
        m_messages.emplace_back(buffer, buffer + length);
        m_bytes += static_cast<size_t>(length);
    }
    Post();
    return 1;
}

void CChannelInbox::Fail(int result) {
    int none = 0;
    if (m_failure.compare_exchange_strong(none, result)) {
        Post();
    }
}

std::optional<std::vector<uint8_t>> CChannelInbox::Take() {
    std::lock_guard lock(m_mutex);
    if (m_messages.empty()) {
        return std::nullopt;
    }
    std::vector<uint8_t> message = std::move(m_messages.front());
    m_messages.pop_front();
    m_bytes -= message.size();
    return message;
}

void CChannelInbox::Post() {
    if (m_owner != 0 && !m_posted.exchange(true)) {
        PostMessage(m_owner, m_dataMessage, 0, 0);
    }
}

}  // namespace hx
