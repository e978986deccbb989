#pragma once
// How request clients reach their channel. A channel can go while a client on
// another thread is in a call into it, so every such call holds a use of this
// shared handle, and the channel closes the handle before anything of it goes.
// Closing turns new uses away and waits for those in progress to end; while
// it waits it handles messages sent to its own thread, because a client's
// call may be handing a packet to a window of that thread.

#include <condition_variable>
#include <memory>
#include <mutex>

namespace hx {

class CNetChannel;

class CChannelAccess {
public:
    explicit CChannelAccess(CNetChannel& channel) : m_channel(&channel) {}
    CChannelAccess(const CChannelAccess&) = delete;
    CChannelAccess& operator=(const CChannelAccess&) = delete;

    // Returns once no use is left; later calls return at once. A thread must
    // not close while it holds a use itself: that use could never end.
    void Close();

    // One call's hold on the channel; empty when there is no access or it is closed.
    class CUse {
    public:
        explicit CUse(const std::shared_ptr<CChannelAccess>& access);
        ~CUse();
        CUse(const CUse&) = delete;
        CUse& operator=(const CUse&) = delete;

        explicit operator bool() const { return m_channel != nullptr; }
        CNetChannel* operator->() const { return m_channel; }

    private:
        // Kept by the use itself: the channel may drop its own once the use has left.
        std::shared_ptr<CChannelAccess> m_access;
        CNetChannel* m_channel = nullptr;
    };

private:
    std::mutex m_mutex;
    std::condition_variable m_left;
    CNetChannel* m_channel;  // null once closed
    int m_uses = 0;
};

}  // namespace hx
