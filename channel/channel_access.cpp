#include "channel/channel_access.h"

#include <chrono>

#include "platform/message_loop.h"

namespace hx {

namespace {

// How often a closing thread looks for messages sent to it meanwhile.
constexpr std::chrono::milliseconds kSentMessageSlice{10};

void HandleSentMessages() {
    MSG msg;
    PeekMessage(&msg, 0, 0, 0, PM_NOREMOVE);
}

}  // namespace

void CChannelAccess::Close() {
    std::unique_lock lock(m_mutex);
    m_channel = nullptr;
    while (!m_left.wait_for(lock, kSentMessageSlice, [this] { return m_uses == 0; })) {
        lock.unlock();
        HandleSentMessages();
        lock.lock();
    }
}

CChannelAccess::CUse::CUse(const std::shared_ptr<CChannelAccess>& access) {
    if (!access) {
        return;
    }
    std::lock_guard lock(access->m_mutex);
    if (access->m_channel != nullptr) {
        m_access = access;
        m_channel = access->m_channel;
        ++m_access->m_uses;
    }
}

CChannelAccess::CUse::~CUse() {
    if (!m_access) {
        return;
    }
    {
        std::lock_guard lock(m_access->m_mutex);
        --m_access->m_uses;
    }
    m_access->m_left.notify_all();
}

}  // namespace hx
