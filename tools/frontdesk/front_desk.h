#pragma once
// The desk itself: listens for kiosks, runs a session for each up to its
// limits, and serves them all from one state under one lock. Control commands
// reach it from any thread.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/io_packet.h"
#include "net/socket_waiter.h"
#include "tools/frontdesk/desk_limits.h"
#include "tools/frontdesk/desk_state.h"
#include "tools/frontdesk/journal.h"
#include "tools/frontdesk/kiosk_directory.h"
#include "tools/frontdesk/kiosk_session.h"

namespace hx {

// Which kiosks a control command is for: one terminal number, or every kiosk
// being served.
using KioskTarget = std::optional<uint32_t>;

class CFrontDesk : private CSessionHost {
public:
    CFrontDesk(stDeskState& state, CJournal& journal, const stDeskLimits& limits = {});
    ~CFrontDesk() override;
    CFrontDesk(const CFrontDesk&) = delete;
    CFrontDesk& operator=(const CFrontDesk&) = delete;

    // Listens on the address and port (0: any free port); false with the reason.
    bool Start(const std::string& address, uint16_t port, std::string& error);
    // Closes every connection and stops listening.
    void Stop();
    uint16_t Port() const { return m_port; }

    // Runs `use` on the state under the desk's lock.
    template <class Use>
    auto WithState(Use&& use) {
        std::lock_guard lock(m_stateMutex);
        return use(m_state);
    }
    void SetSilent(bool silent);

    std::vector<stSessionInfo> Sessions();
    // Each returns the number of kiosks reached.
    int Push(const KioskTarget& target, const std::vector<Bytes>& packets);
    int PushBrokenFraming(const KioskTarget& target);
    int PushZeroMessage(const KioskTarget& target, int32_t length);
    int Drop(const KioskTarget& target);

private:
    // CSessionHost, on the sessions' threads.
    CJournal& Journal() override { return m_journal; }
    bool IsSilent() override;
    stHandshakeDecision OnHandshake(const stHandshakeRequest& request) override;
    std::vector<Bytes> OnServing() override;
    stReplies OnRequest(const stKioskIdentity& kiosk, std::span<const uint8_t> packet) override;
    void Broadcast(const std::vector<Bytes>& packets) override;
    void OnClosed(const stSessionInfo& session) override;

    void AcceptLoop();
    // Serves the connection, or closes it at once when the desk is full.
    void Admit(std::unique_ptr<CIOPacket> connection);
    void ReapFinished();
    // Runs `act` on every session the target names that is being served.
    int ForTargets(const KioskTarget& target, const std::function<void(CKioskSession&)>& act);

    stDeskState& m_state;
    CJournal& m_journal;
    stDeskLimits m_limits;
    std::mutex m_stateMutex;  // guards m_state and m_directory
    CKioskDirectory m_directory;
    std::unique_ptr<CIOPacket> m_listener;
    uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    CSocketWaiter m_acceptWaiter;
    std::thread m_acceptThread;
    std::mutex m_sessionsMutex;  // never held while a session is stopped
    std::vector<std::unique_ptr<CKioskSession>> m_sessions;
    uint32_t m_nextSessionId = 1;
};

}  // namespace hx
