#include "tools/frontdesk/front_desk.h"

#include <algorithm>
#include <chrono>

#include "tools/frontdesk/desk_packets.h"

namespace hx {

namespace {

// How often the acceptor looks for finished sessions to reap; connections and
// a stop wake it at once.
constexpr int kReapCheckMs = 250;

int64_t SecondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

CFrontDesk::CFrontDesk(stDeskState& state, CJournal& journal, const stDeskLimits& limits)
    : m_state(state),
      m_journal(journal),
      m_limits(limits),
      m_directory(state.scenario.kiosks, state.scenario.refuseUnknownKiosks) {}

CFrontDesk::~CFrontDesk() {
    Stop();
}

bool CFrontDesk::Start(const std::string& address, uint16_t port, std::string& error) {
    m_listener = std::make_unique<CIOPacket>(address.c_str(), port);
    if (m_listener->Listen(address.c_str()) != 1) {
        error = "cannot listen on " + address + ":" + std::to_string(port);
        m_listener.reset();
        return false;
    }
    m_port = static_cast<uint16_t>(m_listener->GetLocalPort());
    m_journal.Write({{"event", "listening"}, {"address", address}, {"port", m_port}});
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    return true;
}

void CFrontDesk::Stop() {
    m_stopping = true;
    m_acceptWaiter.Wake();
    if (m_acceptThread.joinable()) {
        m_acceptThread.join();
    }
    std::vector<std::unique_ptr<CKioskSession>> sessions;
    {
        std::lock_guard lock(m_sessionsMutex);
        sessions.swap(m_sessions);
    }
    // Stopped outside the lock: a session may be broadcasting meanwhile.
    for (const auto& session : sessions) {
        session->RequestStop();
    }
    sessions.clear();
    m_listener.reset();
}

void CFrontDesk::AcceptLoop() {
    const intptr_t listening = m_listener->GetSocket();
    bool acceptFailed = false;
    while (!m_stopping) {
        // A connection the system would not hand over (no descriptors left,
        // say) keeps the socket readable: until reaping frees some, only a
        // stop or the time ends the wait.
        const enumSocketWait waited =
            m_acceptWaiter.Wait(acceptFailed ? -1 : listening, kReapCheckMs);
        ReapFinished();
        std::unique_ptr<CIOPacket> connection = m_listener->Accept();
        acceptFailed = waited == enumSocketWait::Readable && !connection;
        if (connection) {
            Admit(std::move(connection));
        }
    }
}

void CFrontDesk::Admit(std::unique_ptr<CIOPacket> connection) {
    std::lock_guard lock(m_sessionsMutex);
    const auto open = std::count_if(m_sessions.begin(), m_sessions.end(),
                                    [](const auto& session) { return session->IsOpen(); });
    if (open >= m_limits.maxConnections) {
        char peer[64] = {};
        connection->GetPeerName(peer, sizeof peer);
        m_journal.Write({{"event", "closed"},
                         {"session", m_nextSessionId++},
                         {"peer", peer},
                         {"reason", "over the connection limit"},
                         {"limit", m_limits.maxConnections}});
        return;
    }
    CSessionHost& host = *this;
    m_sessions.push_back(std::make_unique<CKioskSession>(m_nextSessionId++, std::move(connection),
                                                         host, m_limits.idleTimeout));
    m_sessions.back()->Start();
}

void CFrontDesk::ReapFinished() {
    std::vector<std::unique_ptr<CKioskSession>> finished;
    {
        std::lock_guard lock(m_sessionsMutex);
        for (auto& session : m_sessions) {
            if (session->IsFinished()) {
                finished.push_back(std::move(session));
            }
        }
        std::erase(m_sessions, nullptr);
    }
}

bool CFrontDesk::IsSilent() {
    std::lock_guard lock(m_stateMutex);
    return m_state.silent;
}

void CFrontDesk::SetSilent(bool silent) {
    std::lock_guard lock(m_stateMutex);
    m_state.silent = silent;
}

stHandshakeDecision CFrontDesk::OnHandshake(const stHandshakeRequest& request) {
    std::lock_guard lock(m_stateMutex);
    return m_directory.Decide(request);
}

std::vector<Bytes> CFrontDesk::OnServing() {
    std::lock_guard lock(m_stateMutex);
    return BuildWelcomePackets(m_state);
}

stReplies CFrontDesk::OnRequest(const stKioskIdentity& kiosk, std::span<const uint8_t> packet) {
    std::lock_guard lock(m_stateMutex);
    return DispatchRequest(m_state, kiosk, packet, SecondsNow());
}

void CFrontDesk::OnClosed(const stSessionInfo& session) {
    if (session.clientKey == 0) {
        return;
    }
    std::lock_guard lock(m_stateMutex);
    m_directory.Release(session.terminalNo);
}

void CFrontDesk::Broadcast(const std::vector<Bytes>& packets) {
    Push(std::nullopt, packets);
}

int CFrontDesk::ForTargets(const KioskTarget& target,
                           const std::function<void(CKioskSession&)>& act) {
    std::lock_guard lock(m_sessionsMutex);
    int reached = 0;
    for (const auto& session : m_sessions) {
        const stSessionInfo info = session->Info();
        if (info.state == enumSessionState::Serving && (!target || *target == info.terminalNo)) {
            act(*session);
            ++reached;
        }
    }
    return reached;
}

int CFrontDesk::Push(const KioskTarget& target, const std::vector<Bytes>& packets) {
    return ForTargets(target, [&packets](CKioskSession& session) { session.Push(packets); });
}

int CFrontDesk::PushBrokenFraming(const KioskTarget& target) {
    return ForTargets(target, [](CKioskSession& session) { session.PushBrokenFraming(); });
}

int CFrontDesk::PushZeroMessage(const KioskTarget& target, int32_t length) {
    return ForTargets(target,
                      [length](CKioskSession& session) { session.PushZeroMessage(length); });
}

int CFrontDesk::Drop(const KioskTarget& target) {
    return ForTargets(target, [](CKioskSession& session) { session.Drop(); });
}

std::vector<stSessionInfo> CFrontDesk::Sessions() {
    std::lock_guard lock(m_sessionsMutex);
    std::vector<stSessionInfo> sessions;
    for (const auto& session : m_sessions) {
        sessions.push_back(session->Info());
    }
    return sessions;
}

}  // namespace hx
