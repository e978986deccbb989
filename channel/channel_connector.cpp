#include "channel/channel_connector.h"

#include <utility>

#include "net/io_packet.h"
#include "platform/message_loop.h"

namespace hx {

CChannelConnector::~CChannelConnector() {
    Cancel();
}

bool CChannelConnector::Start(Attempt attempt, HWND owner, UINT doneMessage) {
    {
        std::lock_guard lock(m_mutex);
        if (m_state != enumState::Idle) {
            return false;
        }
        m_state = enumState::Running;
    }
    if (m_thread.joinable()) {
        m_thread.join();  // the last attempt, ended and taken
    }
    m_cancelled = false;
    m_thread = std::thread([this, attempt = std::move(attempt), owner, doneMessage] {
        std::unique_ptr<CIOPacket> connection = attempt(*this);
        {
            std::lock_guard lock(m_mutex);
            m_tracked = nullptr;
            m_outcome = m_cancelled ? nullptr : std::move(connection);
            m_state = enumState::Ended;
        }
        PostMessage(owner, doneMessage, 0, 0);
    });
    return true;
}

bool CChannelConnector::IsBusy() const {
    std::lock_guard lock(m_mutex);
    return m_state != enumState::Idle;
}

std::optional<std::unique_ptr<CIOPacket>> CChannelConnector::TakeOutcome() {
    {
        std::lock_guard lock(m_mutex);
        if (m_state != enumState::Ended) {
            return std::nullopt;
        }
    }
    m_thread.join();
    std::lock_guard lock(m_mutex);
    m_state = enumState::Idle;
    return std::move(m_outcome);
}

void CChannelConnector::Cancel() {
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
        if (m_tracked != nullptr) {
            m_tracked->Interrupt();
        }
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    std::lock_guard lock(m_mutex);
    m_outcome.reset();
    m_state = enumState::Idle;
}

void CChannelConnector::Track(CIOPacket* connection) {
    std::lock_guard lock(m_mutex);
    m_tracked = connection;
    if (connection != nullptr && m_cancelled) {
        connection->Interrupt();
    }
}

}  // namespace hx
