#pragma once
// One kiosk's connection to the desk, served by a thread of its own: the
// handshake (13, answered 14 or 381, confirmed by 15), then every request the
// kiosk sends, handed to the desk. Whatever other threads want sent (pushes,
// broken bytes) waits in the session's outbox, so the connection is only ever
// touched by its own thread and a kiosk that stops reading stalls no one else.
// Between messages the thread sleeps on the socket until the kiosk sends or
// the outbox wakes it. Anything malformed is journalled and ends this
// connection, only this one, as does a kiosk silent for the idle time-out.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "net/io_packet.h"
#include "net/socket_waiter.h"
#include "tools/frontdesk/journal.h"
#include "tools/frontdesk/kiosk_directory.h"
#include "tools/frontdesk/request_dispatcher.h"

namespace hx {

using Bytes = std::vector<uint8_t>;

enum class enumSessionState {
    AwaitingHandshake,
    AwaitingConfirmation,
    Serving,
    Closed,
};

struct stSessionInfo {
    uint32_t id = 0;
    std::string peer;
    enumSessionState state = enumSessionState::AwaitingHandshake;
    uint32_t terminalNo = 0;
    uint32_t clientKey = 0;
    std::string name;
    std::string computerName;
};

const char* SessionStateName(enumSessionState state);

// What a session needs from the desk; called on the session's thread.
class CSessionHost {
public:
    virtual ~CSessionHost() = default;
    virtual CJournal& Journal() = 0;
    virtual bool IsSilent() = 0;
    virtual stHandshakeDecision OnHandshake(const stHandshakeRequest& request) = 0;
    // The packets a kiosk gets once its handshake is complete.
    virtual std::vector<Bytes> OnServing() = 0;
    virtual stReplies OnRequest(const stKioskIdentity& kiosk, std::span<const uint8_t> packet) = 0;
    // Sends the packets to every kiosk that is being served.
    virtual void Broadcast(const std::vector<Bytes>& packets) = 0;
    virtual void OnClosed(const stSessionInfo& session) = 0;
};

class CKioskSession {
public:
    // Closes a connection that sends nothing for idleTimeout, on the loop's clock.
    CKioskSession(uint32_t id, std::unique_ptr<CIOPacket> connection, CSessionHost& host,
                  std::chrono::milliseconds idleTimeout);
    // Stops the thread and closes the connection.
    ~CKioskSession();
    CKioskSession(const CKioskSession&) = delete;
    CKioskSession& operator=(const CKioskSession&) = delete;

    void Start();
    // Ends the connection and the thread; returns once it has ended, even
    // while the kiosk sends half a message or stops reading.
    void Stop();
    // The same without waiting, so many sessions can end side by side.
    void RequestStop();

    // Any thread. Packets sent on the desk's own initiative: addressed to this
    // kiosk when they go out.
    void Push(std::vector<Bytes> packets);
    // Bytes that are not a message at all, inside a correct block.
    void PushBrokenFraming();
    // A message announcing `length` bytes, all zeros (see zero_message.h).
    void PushZeroMessage(int32_t length);
    void Drop();

    stSessionInfo Info() const;
    bool IsServing() const { return Info().state == enumSessionState::Serving; }
    // False from the moment the end of the connection is journalled.
    bool IsOpen() const { return Info().state != enumSessionState::Closed; }
    bool IsFinished() const { return m_finished; }

private:
    enum class enumOutgoing { Answer, Push, BrokenFraming, ZeroMessage };
    struct stOutgoing {
        enumOutgoing kind;
        Bytes bytes;
        int32_t zeroLength = 0;
    };

    void Run();
    // False once the connection has ended.
    bool ServeOnce();
    bool WaitForInput();
    // Journals why the connection ends; false, for the caller to return.
    bool Ended(const std::string& reason);
    bool FlushOutbox();
    bool Send(const stOutgoing& outgoing);
    int SendBrokenFraming(const Bytes& bytes);
    int SendZeroMessage(int32_t length);
    // Packets sent on the desk's own initiative are addressed to this kiosk first.
    int SendPacket(Bytes bytes, bool addressToKiosk);
    bool ReceiveMessage(Bytes& message);
    bool HandleMessage(std::span<const uint8_t> message);
    bool HandleHandshake(std::span<const uint8_t> message);
    bool HandleConfirmation();
    void HandleRequest(std::span<const uint8_t> message);
    // Wakes the thread; a zero message has no bytes, only its length.
    void Enqueue(enumOutgoing kind, std::vector<Bytes> packets, int32_t zeroLength = 0);
    void SetState(enumSessionState state);
    void Write(nlohmann::json entry);

    std::unique_ptr<CIOPacket> m_connection;
    // Taken once: only the destructor closes it, so Stop may shut it down
    // from any thread without ever reaching a reused descriptor.
    intptr_t m_socket;
    CSocketWaiter m_waiter;
    CSessionHost& m_host;
    std::chrono::milliseconds m_idleTimeout;
    uint64_t m_lastInputMs;
    mutable std::mutex m_mutex;  // guards m_info and m_outbox
    stSessionInfo m_info;
    std::deque<stOutgoing> m_outbox;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_dropRequested{false};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

}  // namespace hx
