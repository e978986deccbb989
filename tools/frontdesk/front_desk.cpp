#include "tools/frontdesk/front_desk.h"

#include <chrono>

#include "tools/frontdesk/desk_packets.h"

namespace hx {

namespace {

constexpr auto kAcceptPause = std::chrono::milliseconds(5);

int64_t SecondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

CFrontDesk::CFrontDesk(stDeskState& state, CJournal& journal)
    : m_state(state),
      m_journal(journal),
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
    if (m_acceptThread.joinable()) {
        m_acceptThread.join();
    }
    std::vector<std::unique_ptr<CKioskSession>> sessions;
    {
        std::lock_guard lock(m_sessionsMutex);
        sessions.swap(m_sessions);
    }
    // Stopped outside the lock: a session may be broadcasting meanwhile.
    sessions.clear();
    m_listener.reset();
}

void CFrontDesk::AcceptLoop() {
    while (!m_stopping) {
        std::unique_ptr<CIOPacket> connection = m_listener->Accept();
        ReapFinished();
        if (!connection) {
            std::this_thread::sleep_for(kAcceptPause);
            continue;
        }
        std::lock_guard lock(m_sessionsMutex);
        CSessionHost& host = *this;
        m_sessions.push_back(
            std::make_unique<CKioskSession>(m_nextSessionId++, std::move(connection), host));
        m_sessions.back()->Start();
    }
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
