// Receiving: the worker's poll, taking messages off the connection, and
// routing each packet to its request client or to ParsePacket.
#include <algorithm>
#include <chrono>
#include <memory>

#include "channel/net_channel.h"
#include "channel/net_channel_container.h"
#include "channel/net_channel_log.h"
#include "channel/net_channel_message_box.h"
#include "channel/net_client.h"
#include "net/byte_order.h"
#include "net/io_base.h"
#include "net/lock_obj.h"
#include "net/socket_wait.h"
#include "platform/fixed_field.h"
#include "platform/message_loop.h"

namespace hx {

namespace {

constexpr int kMessagesPerReceive = 10;
constexpr size_t kBoxCaptionOffset = 36;
constexpr size_t kBoxCaptionSize = 128;
constexpr size_t kBoxTextOffset = 164;

// Counts the receives and polls in progress for as long as it lives.
class CReceiveScope {
public:
    explicit CReceiveScope(std::atomic<int>& count) : m_count(count), m_depth(++count) {}
    ~CReceiveScope() { --m_count; }
    CReceiveScope(const CReceiveScope&) = delete;
    CReceiveScope& operator=(const CReceiveScope&) = delete;
    bool IsAlone() const { return m_depth == 1; }

private:
    std::atomic<int>& m_count;
    int m_depth;
};

// The lock if it is free now, else nothing.
class CTryLock {
public:
    explicit CTryLock(CMutexEx& mutex) : m_mutex(mutex), m_locked(mutex.Lock(0)) {
        if (m_locked) {
            m_mutex.SetLockSite(__FILE__, __LINE__);
        }
    }
    ~CTryLock() {
        if (m_locked) {
            m_mutex.Unlock();
        }
    }
    CTryLock(const CTryLock&) = delete;
    CTryLock& operator=(const CTryLock&) = delete;
    bool IsLocked() const { return m_locked; }

private:
    CMutexEx& m_mutex;
    bool m_locked;
};

struct CReceiveBufferFree {
    void operator()(uint8_t* buffer) const { FreeReceiveBuffer(buffer); }
};

// A field's text; the part of it beyond the packet is not there.
std::string TextAt(std::span<const uint8_t> packet, size_t offset, size_t size) {
    if (offset >= packet.size()) {
        return {};
    }
    return ReadTextField(packet.subspan(offset, std::min(size, packet.size() - offset)));
}

}  // namespace

int CNetChannel::PollingPacket() {
    const CReceiveScope scope(m_receiveCount);
    if (!scope.IsAlone()) {
        return 0;
    }
    // Whoever holds the lock is connecting, sending or receiving; the next
    // pass looks again, so the worker never waits and is always quick to stop.
    const CTryLock lock(m_mutex);
    if (!lock.IsLocked()) {
        return 0;
    }
    const HWND owner = OwnerHwnd();
    if (owner == 0 || !m_connection || m_connection->IsFail() != 0) {
        return -1;
    }
    if (m_connection->ReadReady() < 1) {
        return 0;
    }
    PostMessage(owner, kChannelDataMessage, 0, 0);
    return 1;
}

void CNetChannel::WaitForInput(std::chrono::milliseconds limit) {
    intptr_t descriptor = -1;
    {
        const CTryLock lock(m_mutex);
        if (lock.IsLocked() && m_connection) {
            descriptor = m_connection->GetSocket();
        }
    }
    // Without a connection the worker's own pauses pace it. Should the socket
    // be closed meanwhile, the wait merely ends early or runs to its limit.
    if (descriptor >= 0) {
        WaitSocketReadable(descriptor, static_cast<int>(limit.count()));
    }
}

int CNetChannel::ReceivePacket() {
    const CReceiveScope scope(m_receiveCount);
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return -1;
    }
    for (int i = 0; i < kMessagesPerReceive; ++i) {
        // A handler may have dropped the connection meanwhile.
        if (!m_connection || m_connection->IsFail() != 0) {
            return -1;
        }
        const int ready = m_connection->ReadReady();
        if (ready < 1) {
            return ready;
        }
        uint8_t* buffer = nullptr;
        int length = 0;
        const int result = m_connection->Receive(&buffer, &length);
        const std::unique_ptr<uint8_t, CReceiveBufferFree> message(buffer);
        if (result != IO_OK) {
            WriteChannelLog("receive from %s failed (%d): connection closed",
                            GetCurServerIP().c_str(), result);
            ClosePacket(m_connection->GetSocket());
            return -1;
        }
        DispatchReceived(buffer, length);
    }
    return 1;
}

void CNetChannel::DispatchReceived(const uint8_t* message, int length) {
    if (message == nullptr || length < static_cast<int>(kPacketHeaderSize)) {
        WriteChannelLog("dropped a message of %d bytes: shorter than a packet header", length);
        return;
    }
    if (LoadLe32(message + HDR_COMMAND) != CMD_CONTAINER) {
        DispatchPacket(message, length);
        return;
    }
    const std::span<const uint8_t> container(message, static_cast<size_t>(length));
    const stContainerWalk walk = WalkContainer(container, [this](std::span<const uint8_t> packet) {
        DispatchPacket(packet.data(), static_cast<int>(packet.size()));
    });
    if (walk.dropped != 0) {
        WriteChannelLog("container of %d bytes: %zu bytes after packet %d dropped as malformed",
                        length, walk.dropped, walk.delivered);
    }
}

void CNetChannel::DispatchPacket(const uint8_t* packet, int length) {
    if (packet == nullptr || length < static_cast<int>(kPacketHeaderSize)) {
        return;
    }
    if (PreParsePacket(packet, length) != 0) {
        return;
    }
    const stHeader header = UnpackHeader({packet, kPacketHeaderSize});
    if (CNetClient* client = FindClient(header)) {
        client->DispatchMessageA(kClientPacketMessage, reinterpret_cast<WPARAM>(packet), length);
        return;
    }
    ParsePacket(packet, length);
}

CNetClient* CNetChannel::FindClient(const stHeader& header) {
    if (header.addresseeClientKey != m_clientKey ||
        (header.addresseeSequence == 0 && header.serviceKey == 0)) {
        return nullptr;
    }
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return nullptr;
    }
    // A sequenced packet is for that client alone: no fall back to the service key.
    const auto matches = [&header](const CNetClient* client) {
        return header.addresseeSequence != 0 ? client->GetSequence() == header.addresseeSequence
                                             : client->GetServiceKey() == header.serviceKey;
    };
    const auto found = std::find_if(m_clients.begin(), m_clients.end(), matches);
    return found != m_clients.end() ? *found : nullptr;
}

int CNetChannel::PreParsePacket(const uint8_t* data, int length) {
    if (data == nullptr || length < static_cast<int>(sizeof(uint32_t))) {
        return 0;
    }
    switch (LoadLe32(data + HDR_COMMAND)) {
        case CMD_NOP:
            return 1;
        case CMD_MESSAGE_BOX:
            ShowServerMessageBox({data, static_cast<size_t>(length)});
            return 1;
        default:
            return 0;
    }
}

void CNetChannel::ShowServerMessageBox(std::span<const uint8_t> packet) {
    // Caption and text are read only as far as the packet goes.
    ShowChannelMessageBox(TextAt(packet, kBoxCaptionOffset, kBoxCaptionSize),
                          TextAt(packet, kBoxTextOffset, packet.size()));
}

}  // namespace hx
