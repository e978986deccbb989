#include "channel/channel_sender.h"

#include <utility>

#include "net/io_packet.h"
#include "net/io_types.h"

namespace hx {

CChannelSender::CChannelSender(CIOPacket& connection, FailureHandler onFailure)
    : m_connection(connection), m_onFailure(std::move(onFailure)), m_thread([this] { Run(); }) {}

CChannelSender::~CChannelSender() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

bool CChannelSender::Queue(std::span<const uint8_t> packet) {
    {
        std::lock_guard lock(m_mutex);
        if (m_failed || m_stopping || m_queuedBytes + packet.size() > kMaxQueuedBytes) {
            return false;
        }
        m_queue.emplace_back(packet.begin(), packet.end());
        m_queuedBytes += packet.size();
    }
    m_wake.notify_all();
    return true;
}

void CChannelSender::Run() {
    while (true) {
        std::vector<uint8_t> packet;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping) {
                return;
            }
            packet = std::move(m_queue.front());
            m_queue.pop_front();
            m_queuedBytes -= packet.size();
        }
        const int result = m_connection.Send(packet.data(), static_cast<int>(packet.size()));
        if (result != IO_OK) {
            {
                std::lock_guard lock(m_mutex);
                m_failed = true;
                m_queue.clear();
                m_queuedBytes = 0;
            }
            m_onFailure(result);
            return;
        }
    }
}

}  // namespace hx
