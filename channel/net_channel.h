#pragma once
// The kiosk's one connection to the front-desk server. Finds the server (the
// address pool, or discovery), connects, runs the handshake that identifies
// this machine and obtains the client key and terminal number, keeps the link
// alive with pings, reconnects after a loss, watches the socket from a worker
// thread and routes what arrives: answers for a request client to that
// client, everything else to ParsePacket, which the application overrides.
//
// The owner window receives the channel's timers and its data message and
// routes them back (HandleOwnerMessage does it for a window that has no other
// use for them):
//   timer 98                     SendPing
//   timer 99                     CheckConnect
//   kChannelDataMessage (1036)   ReceivePacket   (posted by the reader thread)
//   kChannelConnectMessage (1037) FinishConnect  (posted by the connector thread)
//   kChannelSocketMessage (1035) TcpNotify       (only if the application asks
//                                                 for socket notifications)
// The owner window object must outlive the channel; a window that is also the
// channel names its window base class first, so the channel part goes first.
//
// The owner window's thread never waits on the network: a connect attempt
// (finding the server, the TCP connect, the handshake) runs on the connector's
// thread; once connected, a reader thread takes whole messages off the
// connection into an inbox and a sender thread writes what SendPacket queued.
// The owner's thread only adopts a finished connection and dispatches whole
// messages. One recursive lock, with bounded waits, covers the connection
// object, dispatching and the client list; code running under it
// (ParsePacket, request clients' windows) may send through the same channel.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "channel/channel_access.h"
#include "channel/channel_connector.h"
#include "channel/channel_inbox.h"
#include "channel/channel_sender.h"
#include "channel/machine_identity.h"
#include "channel/net_channel_machine.h"
#include "channel/net_channel_thread.h"
#include "channel/recv_status.h"
#include "net/io_packet.h"
#include "net/mutex_ex.h"
#include "net/packet_header.h"
#include "platform/window_types.h"
#include "platform/wnd.h"

namespace hx {

class CNetClient;

using CLIENTKEY = uint32_t;

enum enumChannelState {
    CHANNEL_CLOSED = 0,
    CHANNEL_CONNECTING = 1,
    CHANNEL_CONNECTED = 2,
};

inline constexpr uint16_t kChannelBasePort = 12001;  // plus the channel type
inline constexpr UINT_PTR kPingTimerId = 98;
inline constexpr UINT_PTR kReconnectTimerId = 99;
inline constexpr UINT kChannelSocketMessage = 1035;
inline constexpr UINT kChannelDataMessage = 1036;
inline constexpr UINT kChannelConnectMessage = 1037;
inline constexpr uint32_t kSocketCloseEvent = 0x20;
inline constexpr uint32_t kMinPingIntervalMs = 300000;

class CNetChannel {
public:
    // Connects nothing. basePort + channel type is the server's port.
    explicit CNetChannel(CWnd* owner = nullptr, uint16_t basePort = kChannelBasePort);
    // Detaches the request clients, stops the worker, drops the connection
    // and the owner's timers. Clients still alive are not deleted; they are
    // left without a channel.
    virtual ~CNetChannel();
    CNetChannel(const CNetChannel&) = delete;
    CNetChannel& operator=(const CNetChannel&) = delete;

    // Queues one packet for the sender thread: IO_OK when queued,
    // IO_NOT_CONNECTED without a connection, IO_ERROR when the link has failed
    // or its queue is full. Every attempt on a connection re-arms the ping
    // timer, so a ping goes out only after a whole ping interval without sends.
    virtual int SendPacket(const void* data, int length);
    // A status object for a new request client; none by default.
    virtual std::unique_ptr<CRecvStatus> CreateRecvStatus(CWnd* window);
    // Routes one packet (at least a header): to the client it is addressed to
    // (by addressee sequence, or when that is 0 by service key), else to
    // ParsePacket. PreParsePacket sees it first and may consume it.
    virtual void DispatchPacket(const uint8_t* packet, int length);
    // The application's commands; 0 by default.
    virtual int ParsePacket(const uint8_t* data, int length);
    // Consumes command 1, and command 20 by showing its message box; 0 for others.
    virtual int PreParsePacket(const uint8_t* data, int length);
    virtual void OnNetConnect();  // notifies CHANNEL_CONNECTED
    virtual void OnNetClose();    // notifies CHANNEL_CLOSED
    // The second argument is always 1. Does nothing by default. Called on the
    // connector's thread during an attempt, else on the owner's thread.
    virtual void NotifyChannelState(enumChannelState state, int detail);

    // Timers go to the new owner at once, data messages from the next connection on.
    void SetOwner(CWnd* owner);
    // Routes the owner-window items above; false for any other message.
    bool HandleOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Remembers the channel type and connects (Reconnect).
    void Start(int channelType);
    // Drops the connection and starts a connect attempt in the background: 1
    // when one started; 0 when one is under way already or there is no owner
    // window to hand the outcome to. The outcome comes as
    // kChannelConnectMessage: the link starts, or the reconnect timer is armed.
    int UserReconnect();
    // Kills the reconnect timer unless keepReconnectTimer; closes the
    // connection unless keepConnection.
    void UserDisconnect(int keepReconnectTimer = 0, int keepConnection = 0);
    int IsAlive();
    int SendPing();
    // Never below kMinPingIntervalMs.
    void SetIntervalPing(uint32_t ms);
    void SetIntervalReconnect(uint32_t ms);
    uint32_t GetIntervalPing() const { return m_pingInterval; }
    uint32_t GetIntervalReconnect() const { return m_reconnectInterval; }

    // Dispatches up to 10 received messages. 1 after 10, 0 when no more wait;
    // -1 without a connection or when the link failed (the connection is
    // then closed, the reason logged, and the reconnect timer armed).
    int ReceivePacket();
    // Takes an ended connect attempt's outcome.
    void FinishConnect();
    // A connect attempt is under way, or its outcome not yet taken.
    bool IsConnecting() const { return m_connector.IsBusy(); }
    // Cancels a connect attempt, interrupts the connection and stops the
    // reader and sender threads; the connection is dropped by the next
    // connect. Returns within about 5 seconds whatever the network does.
    void StopThread();
    // The failure that ended the last lost link (an io_result), 0 when none.
    int GetLastLinkFailure() const { return m_lastLinkFailure; }

    // InitPacketHeader, then this channel's terminal number and client key.
    bool InitChannelHeader(std::span<uint8_t> packet, enumCommand command);
    uint32_t GetNextSequenceNo();
    void AddClient(CNetClient* client);
    void DeleteClient(CNetClient* client);
    // The handle through which request clients call into this channel.
    std::shared_ptr<CChannelAccess> ClientAccess() const { return m_clientAccess; }
    // Leaves every request client without this channel, once calls they have
    // in progress (on any thread) have ended. A derived class whose overrides
    // such calls reach (ParsePacket) calls it first in its own destructor.
    void DetachClients();

    CLIENTKEY GetClientKey() const { return m_clientKey; }
    uint32_t GetUniqueNo() const { return m_uniqueNo; }
    int GetChannelType() const { return m_channelType; }
    std::string GetCurServerIP();
    std::string GetFailServerIP();
    // The connection's local address, empty without one.
    std::string GetIP();
    std::string GetSockAddr();
    void SetShowRecvStatus(bool show) { m_showRecvStatus = show; }
    bool GetShowRecvStatus() const { return m_showRecvStatus; }
    // Dispatches what waits in the calling thread's queue.
    static void PumpMessages();

    // This machine's adapters, ranked by kind when sorted is non-zero; count
    // gets those with an address configuration. Returns the number listed.
    int GetNicInfoNew(std::vector<stNicInfo>& list, int& count, int sorted) const;
    std::string GetKeyMAC() const;
    // The machine the handshake describes; null means this computer.
    void SetMachine(const CChannelMachine* machine);

protected:
    // On the connector's thread: one connect attempt to the pool's next
    // address at port (discovery when the entry is "*"), then the handshake.
    // The connection when it is identified, else null.
    std::unique_ptr<CIOPacket> AttemptConnect(CChannelConnector& connector, uint16_t port);
    // The handshake on a fresh connection; true when it identified us.
    bool ConnectProcedure(CIOPacket& connection);
    // Takes an identified connection and starts its threads; false when a
    // live one exists already.
    bool AdoptConnection(std::unique_ptr<CIOPacket> connection);
    void Disconnect();
    void Reconnect();
    // Timer 99: reconnects unless a live connection exists.
    void CheckConnect();
    // The connection on `socket` is gone: stop the worker, drop it, arm the
    // reconnect timer.
    void ClosePacket(intptr_t socket);
    int TcpNotify(intptr_t socket, uint32_t eventWord);

    // One received message: a container is taken apart, anything else is
    // dispatched whole. A message shorter than a packet header is dropped.
    void DispatchReceived(const uint8_t* message, int length);

private:
    HWND OwnerHwnd() const;
    void StartThread();
    bool QueueForSending(const void* data, int length);
    void DropConnection();
    // The failure that ends the current link, 0 while it is sound or absent.
    int LinkFailure() const;
    std::optional<std::vector<uint8_t>> TakeReceived();
    int ReceiveNothing();
    void ArmReconnectTimer();
    const CChannelMachine& Machine() const;
    enum class enumHandshake { Succeeded, Failed, NotStarted };
    enumHandshake RunHandshake(CIOPacket& connection, std::string& failure);
    bool ExchangeIdentity(CIOPacket& connection, std::span<const uint8_t> answer,
                          std::string& failure);
    void SetServerText(std::string& text, const std::string& address);
    CNetClient* FindClient(const stHeader& header);
    void ShowServerMessageBox(std::span<const uint8_t> packet);

    std::atomic<CWnd*> m_owner;
    const uint16_t m_basePort;
    std::mutex m_textMutex;  // guards the two server texts
    std::string m_curServer;
    std::string m_failServer;
    std::atomic<uint32_t> m_uniqueNo{0};
    std::atomic<CLIENTKEY> m_clientKey{0};
    std::string m_localAddress;  // of m_connection, under m_textMutex
    // The connection and its inbox are shared with the worker threads; both are
    // replaced together, on the owner's thread only, under m_mutex.
    std::shared_ptr<CIOPacket> m_connection;
    std::shared_ptr<CChannelInbox> m_inbox;
    std::atomic<intptr_t> m_socket{-1};  // of m_connection
    std::atomic<int> m_lastLinkFailure{0};
    std::mutex m_threadMutex;  // guards the threads; never held while taking m_mutex
    std::unique_ptr<CChannelThread> m_thread;
    std::unique_ptr<CChannelSender> m_sender;
    CChannelConnector m_connector;
    CMutexEx m_mutex;
    std::vector<CNetClient*> m_clients;
    const std::shared_ptr<CChannelAccess> m_clientAccess;
    std::atomic<int> m_notifyDepth{0};
    std::atomic<int> m_channelType{0};
    std::atomic<uint32_t> m_reconnectInterval;
    std::atomic<uint32_t> m_pingInterval{kMinPingIntervalMs};
    std::atomic<uint32_t> m_sequence{1};
    std::atomic<bool> m_showRecvStatus{true};
    std::atomic<const CChannelMachine*> m_machine{nullptr};
};

}  // namespace hx
