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
    StopThread();
    const int type = m_channelType;
    if (Connect(static_cast<uint16_t>(m_basePort + type)) == 1) {
        StartThread();
        return 1;
    }
    ArmReconnectTimer();
    return 0;
}

void CNetChannel::Reconnect() {
    UserReconnect();
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
    m_connection.reset();
    OnNetClose();
}

int CNetChannel::IsAlive() {
    CLockObj lock(m_mutex);
    return lock.IsLocked() && m_connection && m_connection->IsAlive() == 1 ? 1 : 0;
}

void CNetChannel::Disconnect() {
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return;
    }
    m_connection.reset();
    NotifyChannelState(CHANNEL_CLOSED, 1);
}

void CNetChannel::CheckConnect() {
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return;
    }
    if (const HWND owner = OwnerHwnd()) {
        KillTimer(owner, kReconnectTimerId);
    }
    if (m_connection && m_connection->IsAlive() == 1) {
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
    if (m_connection->GetSocket() == socket) {
        StopThread();
        m_connection.reset();
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

int CNetChannel::Connect(uint16_t port) {
    Disconnect();
    const std::string address = ResolveNextServer();
    if (address.empty()) {
        WriteChannelLog("no server address to connect to (discovery found none)");
        return 0;
    }
    auto connection = std::make_unique<CIOPacket>(address.c_str(), port, true);
    connection->AddExtOption(IOEXT_NOPING);
    if (connection->Connect(1) != IO_OK) {
        SetServerText(m_failServer, address);
        return 0;
    }
    SetServerText(m_curServer, address);
    if (ConnectProcedure(std::move(connection)) != 1) {
        return 0;
    }
    OnNetConnect();
    return 1;
}

int CNetChannel::ConnectProcedure(std::unique_ptr<CIOPacket> connection) {
    CLockObj lock(m_mutex);
    if (!lock.IsLocked() || !connection) {
        return 0;
    }
    if (m_connection) {
        // Someone else connected meanwhile.
        if (m_connection->IsAlive() == 1) {
            connection->Close();
            return 0;
        }
        Disconnect();
    }
    NotifyChannelState(CHANNEL_CONNECTING, 1);
    std::string failure;
    switch (RunHandshake(*connection, failure)) {
        case enumHandshake::NotStarted:
            WriteChannelLog("handshake not started: %s", failure.c_str());
            return 0;
        case enumHandshake::Failed:
            WriteChannelLog("handshake with %s failed: %s", GetCurServerIP().c_str(),
                            failure.c_str());
            m_uniqueNo = 0;
            m_clientKey = 0;
            NotifyChannelState(CHANNEL_CLOSED, 1);
            return 0;
        case enumHandshake::Succeeded:
            break;
    }
    m_connection = std::move(connection);
    CServerIpPool().ResetIndex(0);
    CServerIpPool::WriteWiniIniServer(GetCurServerIP());
    NotifyChannelState(CHANNEL_CONNECTED, 1);
    return 1;
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
