// Construction, the owner window's timers, sending, the worker thread, the
// client list and the plain accessors of the channel.
#include "channel/net_channel.h"

#include <algorithm>

#include "channel/channel_input_wait.h"
#include "channel/net_channel_handshake.h"
#include "channel/net_channel_log.h"
#include "channel/net_client.h"
#include "net/lock_obj.h"
#include "platform/message_loop.h"

namespace hx {

namespace {

// The reconnect interval spreads kiosks that lost the server at the same
// moment over two minutes, by the moment each channel was made.
constexpr uint32_t kReconnectBaseMs = 60000;
constexpr uint32_t kReconnectSpreadMs = 120000;

}  // namespace

CNetChannel::CNetChannel(CWnd* owner, uint16_t basePort)
    : m_owner(owner),
      m_basePort(basePort),
      m_clientAccess(std::make_shared<CChannelAccess>(*this)),
      m_reconnectInterval(kReconnectBaseMs + GetTickCount() % kReconnectSpreadMs) {}

CNetChannel::~CNetChannel() {
    DetachClients();
    StopThread();
    if (const HWND owner = OwnerHwnd()) {
        KillTimer(owner, kPingTimerId);
        KillTimer(owner, kReconnectTimerId);
    }
    CLockObj lock(m_mutex);
    while (!lock.IsLocked()) {
        lock.Relock();
    }
    DropConnection();
}

void CNetChannel::DetachClients() {
    m_clientAccess->Close();
}

void CNetChannel::SetOwner(CWnd* owner) {
    m_owner = owner;
}

HWND CNetChannel::OwnerHwnd() const {
    const CWnd* owner = m_owner;
    return owner != nullptr ? owner->GetSafeHwnd() : 0;
}

bool CNetChannel::HandleOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kPingTimerId) {
        SendPing();
    } else if (message == WM_TIMER && wParam == kReconnectTimerId) {
        CheckConnect();
    } else if (message == kChannelDataMessage) {
        ReceivePacket();
    } else if (message == kChannelConnectMessage) {
        FinishConnect();
    } else if (message == kChannelSocketMessage) {
        TcpNotify(static_cast<intptr_t>(wParam), static_cast<uint32_t>(lParam));
    } else {
        return false;
    }
    return true;
}

void CNetChannel::ArmReconnectTimer() {
    if (const HWND owner = OwnerHwnd()) {
        KillTimer(owner, kReconnectTimerId);
        SetTimer(owner, kReconnectTimerId, m_reconnectInterval);
    }
}

int CNetChannel::SendPacket(const void* data, int length) {
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return IO_ERROR;
    }
    if (!m_connection) {
        return IO_NOT_CONNECTED;
    }
    const int result = QueueForSending(data, length) ? IO_OK : IO_ERROR;
    // Re-armed after failed sends too: a dead link is noticed by the reader.
    if (const HWND owner = OwnerHwnd()) {
        KillTimer(owner, kPingTimerId);
        SetTimer(owner, kPingTimerId, m_pingInterval);
    }
    return result;
}

int CNetChannel::SendPing() {
    uint8_t ping[kPacketHeaderSize];
    InitChannelHeader(ping, CMD_PING);
    return SendPacket(ping, sizeof ping);
}

void CNetChannel::SetIntervalPing(uint32_t ms) {
    m_pingInterval = std::max(ms, kMinPingIntervalMs);
}

void CNetChannel::SetIntervalReconnect(uint32_t ms) {
    m_reconnectInterval = ms;
}

std::unique_ptr<CRecvStatus> CNetChannel::CreateRecvStatus(CWnd* /*window*/) {
    return nullptr;
}

int CNetChannel::ParsePacket(const uint8_t* /*data*/, int /*length*/) {
    return 0;
}

void CNetChannel::OnNetConnect() {
    NotifyChannelState(CHANNEL_CONNECTED, 1);
}

void CNetChannel::OnNetClose() {
    NotifyChannelState(CHANNEL_CLOSED, 1);
}

void CNetChannel::NotifyChannelState(enumChannelState /*state*/, int /*detail*/) {}

bool CNetChannel::QueueForSending(const void* data, int length) {
    if (data == nullptr || length <= 0 || LinkFailure() != 0) {
        return false;
    }
    std::lock_guard lock(m_threadMutex);
    return m_sender &&
           m_sender->Queue({static_cast<const uint8_t*>(data), static_cast<size_t>(length)});
}

// The threads hold the connection and the inbox themselves: a reader that a
// stop gave up on must never be left with either freed under it.
void CNetChannel::StartThread() {
    StopThread();
    const std::shared_ptr<CIOPacket> connection = m_connection;
    const std::shared_ptr<CChannelInbox> inbox = m_inbox;
    const intptr_t socket = m_socket;
    std::lock_guard lock(m_threadMutex);
    m_sender =
        std::make_unique<CChannelSender>(*connection, [inbox](int result) { inbox->Fail(result); });
    m_thread = std::make_unique<CChannelThread>(
        [connection, inbox] { return inbox->ReceiveFrom(*connection); },
        [connection, socket](std::chrono::milliseconds limit) {
            WaitChannelInput(*connection, socket, limit);
        });
}

void CNetChannel::StopThread() {
    m_connector.Cancel();
    std::unique_ptr<CChannelThread> thread;
    std::unique_ptr<CChannelSender> sender;
    {
        std::lock_guard lock(m_threadMutex);
        thread = std::move(m_thread);
        sender = std::move(m_sender);
    }
    if (!thread && !sender) {
        return;
    }
    // A receive waiting for the rest of a message, or a send waiting for a
    // peer that does not read, ends now instead of at its time limit.
    if (m_connection) {
        m_connection->Interrupt();
    }
    if (thread) {
        thread->Stop();  // bounded; a pass left running keeps what it uses
    }
}

bool CNetChannel::InitChannelHeader(std::span<uint8_t> packet, enumCommand command) {
    return InitChannelPacketHeader(packet, command, m_uniqueNo, m_clientKey);
}

uint32_t CNetChannel::GetNextSequenceNo() {
    return ++m_sequence;
}

void CNetChannel::AddClient(CNetClient* client) {
    CLockObj lock(m_mutex);
    while (!lock.IsLocked()) {
        lock.Relock();
    }
    m_clients.push_back(client);
}

void CNetChannel::DeleteClient(CNetClient* client) {
    // Waits for any dispatch in progress, which may be handing this client a packet.
    CLockObj lock(m_mutex);
    while (!lock.IsLocked()) {
        lock.Relock();
    }
    const auto found = std::find(m_clients.begin(), m_clients.end(), client);
    if (found != m_clients.end()) {
        m_clients.erase(found);
    }
}

void CNetChannel::SetServerText(std::string& text, const std::string& address) {
    std::lock_guard lock(m_textMutex);
    text = address;
}

std::string CNetChannel::GetCurServerIP() {
    std::lock_guard lock(m_textMutex);
    return m_curServer;
}

std::string CNetChannel::GetFailServerIP() {
    std::lock_guard lock(m_textMutex);
    return m_failServer;
}

std::string CNetChannel::GetIP() {
    return GetSockAddr();
}

std::string CNetChannel::GetSockAddr() {
    std::lock_guard lock(m_textMutex);
    return m_localAddress;
}

void CNetChannel::PumpMessages() {
    PumpMessagesFor(0);
}

void CNetChannel::SetMachine(const CChannelMachine* machine) {
    m_machine = machine;
}

const CChannelMachine& CNetChannel::Machine() const {
    const CChannelMachine* machine = m_machine;
    return machine != nullptr ? *machine : SystemChannelMachine();
}

int CNetChannel::GetNicInfoNew(std::vector<stNicInfo>& list, int& count, int sorted) const {
    return ListNicInfo(Machine().GetAdapters(), list, count, sorted);
}

std::string CNetChannel::GetKeyMAC() const {
    return ChooseKeyMac(Machine().GetAdapters());
}

}  // namespace hx
