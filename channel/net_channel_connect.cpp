// Connecting: the address, the TCP connect, the handshake, and what happens
// when a connection is lost.
#include <memory>

#include "channel/auto_find_server.h"
#include "channel/net_channel.h"
#include "channel/net_channel_handshake.h"
#include "channel/net_channel_log.h"
#include "channel/server_ip_pool.h"
#include "net/io_base.h"
#include "net/lock_obj.h"
#include "platform/envr.h"
#include "platform/message_loop.h"

namespace hx {

namespace {

// Handshake failure reasons, as the server's operators know them.
constexpr const char* kSendFailed = "소켓 전송 에러";
constexpr const char* kNoAnswer = "Protocol 에러 2";
constexpr const char* kWrongAnswer = "Protocol 에러 1";

constexpr int kAddressBuffer = 32;

struct CReceiveBufferFree {
    void operator()(uint8_t* buffer) const { FreeReceiveBuffer(buffer); }
};
using CReceiveBuffer = std::unique_ptr<uint8_t, CReceiveBufferFree>;

std::string LocalAddressOf(CIOPacket& connection) {
    char address[kAddressBuffer] = {};
    return connection.GetSockName(address, sizeof address) == 1 ? address : "";
}

}  // namespace

void CNetChannel::Start(int channelType) {
    m_channelType = channelType;
    Reconnect();
}

int CNetChannel::UserReconnect() {
    const HWND owner = OwnerHwnd();
    if (owner == 0 || m_connector.IsBusy()) {
        return 0;
    }
    Disconnect();
    const auto port = static_cast<uint16_t>(m_basePort + m_channelType);
    const bool started = m_connector.Start(
        [this, port](CChannelConnector& connector) { return AttemptConnect(connector, port); },
        owner, kChannelConnectMessage);
    return started ? 1 : 0;
}

void CNetChannel::Reconnect() {
    UserReconnect();
}

void CNetChannel::FinishConnect() {
    std::optional<std::unique_ptr<CIOPacket>> outcome = m_connector.TakeOutcome();
    if (!outcome) {
        return;  // no attempt has ended: a late message of a cancelled one
    }
    if (!*outcome || !AdoptConnection(std::move(*outcome))) {
        ArmReconnectTimer();
        return;
    }
    OnNetConnect();
}

void CNetChannel::UserDisconnect(int keepReconnectTimer, int keepConnection) {
    const HWND owner = OwnerHwnd();
    if (keepReconnectTimer == 0 && owner != 0) {
        KillTimer(owner, kReconnectTimerId);
    }
    if (keepConnection != 0) {
        return;
    }
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return;
    }
    DropConnection();
    m_lastLinkFailure = 0;  // closed on purpose: nothing failed
    OnNetClose();
}

int CNetChannel::IsAlive() {
    CLockObj lock(m_mutex);
    return lock.IsLocked() && m_connection && LinkFailure() == 0 ? 1 : 0;
}

void CNetChannel::Disconnect() {
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return;
    }
    DropConnection();
    NotifyChannelState(CHANNEL_CLOSED, 1);
}

void CNetChannel::DropConnection() {
    StopThread();
    m_connection.reset();
    m_inbox.reset();
    m_socket = -1;
    SetServerText(m_localAddress, "");
}

int CNetChannel::LinkFailure() const {
    return m_inbox ? m_inbox->Failure() : 0;
}

void CNetChannel::CheckConnect() {
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return;
    }
    if (const HWND owner = OwnerHwnd()) {
        KillTimer(owner, kReconnectTimerId);
    }
    if (m_connection && LinkFailure() == 0) {
        return;
    }
    Reconnect();
}

void CNetChannel::ClosePacket(intptr_t socket) {
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return;
    }
    NotifyChannelState(CHANNEL_CLOSED, 1);
    if (!m_connection) {
        return;
    }
    // Another socket's close says nothing about why this link would end.
    m_lastLinkFailure = 0;
    if (m_socket == socket) {
        m_lastLinkFailure = LinkFailure();
        DropConnection();
        ArmReconnectTimer();
    }
    OnNetClose();
}

int CNetChannel::TcpNotify(intptr_t socket, uint32_t eventWord) {
    ++m_notifyDepth;
    if ((eventWord & kSocketCloseEvent) != 0) {
        ClosePacket(socket);
        NotifyChannelState(CHANNEL_CLOSED, 1);
    }
    --m_notifyDepth;
    return 1;
}

std::unique_ptr<CIOPacket> CNetChannel::AttemptConnect(CChannelConnector& connector,
                                                       uint16_t port) {
    const std::string address = ResolveNextServer();
    if (address.empty() || connector.IsCancelled()) {
        WriteChannelLog("no server address to connect to (discovery found none)");
        return nullptr;
    }
    auto connection = std::make_unique<CIOPacket>(address.c_str(), port, true);
    connection->AddExtOption(IOEXT_NOPING);
    connector.Track(connection.get());
    const bool connected = connection->Connect(1) == IO_OK;
    SetServerText(connected ? m_curServer : m_failServer, address);
    const bool identified = connected && ConnectProcedure(*connection);
    connector.Track(nullptr);
    return identified ? std::move(connection) : nullptr;
}

bool CNetChannel::ConnectProcedure(CIOPacket& connection) {
    NotifyChannelState(CHANNEL_CONNECTING, 1);
    std::string failure;
    switch (RunHandshake(connection, failure)) {
        case enumHandshake::NotStarted:
            WriteChannelLog("handshake not started: %s", failure.c_str());
            return false;
        case enumHandshake::Failed:
            WriteChannelLog("handshake with %s failed: %s", GetCurServerIP().c_str(),
                            failure.c_str());
            m_uniqueNo = 0;
            m_clientKey = 0;
            NotifyChannelState(CHANNEL_CLOSED, 1);
            return false;
        case enumHandshake::Succeeded:
            return true;
    }
    return false;
}

bool CNetChannel::AdoptConnection(std::unique_ptr<CIOPacket> connection) {
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return false;
    }
    if (m_connection && LinkFailure() == 0) {
        return false;  // someone else connected meanwhile
    }
    DropConnection();
    SetServerText(m_localAddress, LocalAddressOf(*connection));
    m_socket = connection->GetSocket();
    m_connection = std::move(connection);
    m_inbox = std::make_shared<CChannelInbox>(OwnerHwnd(), kChannelDataMessage);
    CServerIpPool().ResetIndex(0);
    CServerIpPool::WriteWiniIniServer(GetCurServerIP());
    NotifyChannelState(CHANNEL_CONNECTED, 1);
    StartThread();
    return true;
}

CNetChannel::enumHandshake CNetChannel::RunHandshake(CIOPacket& connection, std::string& failure) {
    std::vector<stNicInfo> nics;
    int configured = 0;
    if (GetNicInfoNew(nics, configured, 1) == 0) {
        failure = "no network adapter";
        return enumHandshake::NotStarted;
    }
    m_uniqueNo = 0;
    m_clientKey = 0;
    const stChannelIdentityKeys keys = ChannelIdentityKeys(m_channelType);
    stHandshakeRequest request;
    request.storedNo = static_cast<uint32_t>(CEnvr().GetInt(keys.section, keys.numberName, 0));
    request.channelType = m_channelType;
    request.computerName = Machine().GetComputerName();
    request.localAddress = LocalAddressOf(connection);
    request.firstMac = nics[0].macText;
    // A second card is named only when it is a real one.
    if (nics.size() >= 2 && nics[1].kind != NICKIND_EXCLUDED) {
        request.secondMac = nics[1].macText;
    }
    request.firstKind = nics[0].kind;
    if (request.computerName.empty()) {
        failure = "the computer has no name";
        return enumHandshake::NotStarted;
    }
    const std::vector<uint8_t> packet = BuildHandshakeRequest(request);
    if (connection.Send(packet.data(), static_cast<int>(packet.size())) != IO_OK) {
        failure = kSendFailed;
        return enumHandshake::Failed;
    }
    uint8_t* buffer = nullptr;
    int length = 0;
    const int received = connection.Receive(&buffer, &length);
    const CReceiveBuffer answer(buffer);
    if (received != IO_OK) {
        failure = kNoAnswer;
        return enumHandshake::Failed;
    }
    return ExchangeIdentity(connection, {buffer, static_cast<size_t>(length)}, failure)
               ? enumHandshake::Succeeded
               : enumHandshake::Failed;
}

bool CNetChannel::ExchangeIdentity(CIOPacket& connection, std::span<const uint8_t> message,
                                   std::string& failure) {
    stHandshakeAnswer answer;
    switch (ReadHandshakeAnswer(message, answer)) {
        case HANDSHAKE_REFUSED:
            CServerIpPool().ResetIndex(0);
            failure = "refused by the server (381)";
            return false;
        case HANDSHAKE_UNEXPECTED:
            failure = kWrongAnswer;
            return false;
        case HANDSHAKE_ACCEPTED:
            break;
    }
    const stChannelIdentityKeys keys = ChannelIdentityKeys(m_channelType);
    const CEnvr settings;
    settings.WriteString(keys.section, keys.nameName, answer.name.c_str());
    settings.WriteInt(keys.section, keys.numberName, static_cast<int>(answer.uniqueNo));
    const std::string name = settings.GetString(keys.section, keys.nameName, "");
    m_uniqueNo = answer.uniqueNo;
    m_clientKey = answer.clientKey;
    const std::vector<uint8_t> confirm = BuildHandshakeConfirm(m_uniqueNo, m_clientKey, name);
    if (connection.Send(confirm.data(), static_cast<int>(confirm.size())) != IO_OK) {
        failure = kSendFailed;
        return false;
    }
    return true;
}

}  // namespace hx
