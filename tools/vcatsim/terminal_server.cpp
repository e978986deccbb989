#include "tools/vcatsim/terminal_server.h"

#include <algorithm>
#include <cstdio>

#include "platform/local_time.h"

namespace hx {

namespace {

// How often the acceptor looks for a stop and for finished connections.
constexpr int kAcceptCheckMs = 100;
// A connection's wait is taken in pieces no longer than this, so a wait
// without end fits the waiter's milliseconds.
constexpr int64_t kLongestWaitMs = 1000;

stSaleTime SaleTimeNow() {
    const stLocalTime now = GetLocalTimeNow();
    char date[16];
    char time[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", now.year % 10000, now.month % 100,
                  now.day % 100);
    std::snprintf(time, sizeof time, "%02d%02d%02d", now.hour % 100, now.minute % 100,
                  now.second % 100);
    return {date, time};
}

std::string PeerOf(CIOBase& io) {
    char peer[64] = {};
    io.GetPeerName(peer, sizeof peer);
    return peer;
}

}  // namespace

struct CTerminalServer::stConnection {
    std::unique_ptr<CIOBase> io;
    std::string peer;
    CSocketWaiter waiter;
    std::atomic<bool> finished{false};
    std::thread thread;
};

CTerminalServer::CTerminalServer(CCardTerminal& terminal, CToolJournal& journal,
                                 stServerLimits limits)
    : CDeviceLine(journal), m_terminal(terminal), m_console(terminal), m_limits(limits) {}

CTerminalServer::~CTerminalServer() {
    Stop();
}

bool CTerminalServer::Listen(const std::string& address, uint16_t port, std::string& error) {
    m_listener = std::make_unique<CIOTcp>(address.c_str(), port, 0, false);
    if (m_listener->Listen(address.c_str()) != 1) {
        error = "cannot listen on " + address + ":" + std::to_string(port);
        m_listener.reset();
        return false;
    }
    m_port = static_cast<uint16_t>(m_listener->GetLocalPort());
    m_journal.Write({{"event", "listening"}, {"address", address}, {"port", m_port}});
    return true;
}

void CTerminalServer::Serve(const std::atomic<bool>& stop) {
    while (!stop && m_listener) {
        m_acceptWaiter.Wait(m_listener->GetSocket(), kAcceptCheckMs);
        ReapFinished();
        if (std::unique_ptr<CIOBase> io = m_listener->Accept()) {
            Admit(std::move(io));
        }
    }
    StopConnections();
    m_listener.reset();
}

std::string CTerminalServer::RunConsoleLine(std::string_view line) {
    return m_console.Execute(line);
}

void CTerminalServer::Admit(std::unique_ptr<CIOBase> io) {
    const std::string peer = PeerOf(*io);
    if (static_cast<int>(m_connections.size()) >= m_limits.maxConnections) {
        m_journal.Write({{"event", "refused connection"},
                         {"peer", peer},
                         {"reason", "over the connection limit"},
                         {"limit", m_limits.maxConnections}});
        return;
    }
    auto connection = std::make_unique<stConnection>();
    connection->io = std::move(io);
    connection->peer = peer;
    stConnection& served = *connection;
    m_connections.push_back(std::move(connection));
    served.thread = std::thread([this, &served] {
        RunConnection(served);
        served.io->Close();
        served.finished = true;
    });
}

void CTerminalServer::ReapFinished() {
    for (auto& connection : m_connections) {
        if (connection->finished) {
            connection->thread.join();
            connection.reset();
        }
    }
    std::erase(m_connections, nullptr);
}

void CTerminalServer::StopConnections() {
    m_stopping = true;
    for (const auto& connection : m_connections) {
        connection->io->Interrupt();
        connection->waiter.Wake();
    }
    for (const auto& connection : m_connections) {
        connection->thread.join();
    }
    m_connections.clear();
}

void CTerminalServer::RunConnection(stConnection& connection) {
    const std::optional<stTerminalFrame> request = ReadRequest(connection);
    if (!request) {
        return;
    }
    stTerminalTurn turn;
    {
        std::lock_guard lock(m_mutex);
        turn = m_terminal.Handle(*request, SaleTimeNow());
    }
    for (const stTerminalFrame& frame : turn.frames) {
        Send(connection, frame);
    }
    if (turn.keepOpen) {
        HoldOpen(connection);
    }
}

bool CTerminalServer::WaitForInput(stConnection& connection,
                                   std::chrono::steady_clock::time_point deadline) {
    while (!m_stopping) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        const int slice = static_cast<int>(std::min(left.count(), kLongestWaitMs));
        const enumSocketWait waited = connection.waiter.Wait(connection.io->GetSocket(), slice);
        if (waited == enumSocketWait::Readable || waited == enumSocketWait::Failed) {
            return waited == enumSocketWait::Readable;
        }
    }
    // The program ends: the kiosk is told so on every open connection.
    Send(connection, ExitFrame(0));
    return false;
}

std::optional<stTerminalFrame> CTerminalServer::ReadRequest(stConnection& connection) {
    const auto deadline = std::chrono::steady_clock::now() + m_limits.readTimeout;
    std::vector<uint8_t> bytes(kTerminalFrameHeader);
    if (!WaitForInput(connection, deadline) ||
        connection.io->ReadRaw(bytes.data(), bytes.size()) != IO_OK) {
        m_journal.Write({{"event", "no request"}, {"peer", connection.peer}});
        return std::nullopt;
    }
    stTerminalFrameRead read = DecodeTerminalFrame(bytes);
    if (read.status == stTerminalFrameRead::Incomplete) {
        // The header passed the codec's checks, so the length is bounded.
        const size_t length = (size_t{bytes[0]} << 24) | (size_t{bytes[1]} << 16) |
                              (size_t{bytes[2]} << 8) | bytes[3];
        bytes.resize(4 + length);
        // The transport may hold the rest already, so no wait on the socket:
        // its own limit between bytes bounds the read.
        const bool whole = connection.io->ReadRaw(bytes.data() + kTerminalFrameHeader,
                                                  bytes.size() - kTerminalFrameHeader) == IO_OK;
        read = whole ? DecodeTerminalFrame(bytes) : stTerminalFrameRead{};
    }
    if (read.status != stTerminalFrameRead::Complete ||
        read.frame.kind != enumTerminalFrame::Request) {
        m_journal.Write(
            {{"event", "bad frame"},
             {"peer", connection.peer},
             {"bytes", HexBytes(std::span(bytes).first(std::min<size_t>(bytes.size(), 32)))}});
        return std::nullopt;
    }
    return read.frame;
}

void CTerminalServer::Send(stConnection& connection, const stTerminalFrame& frame) {
    const std::vector<uint8_t> bytes = EncodeTerminalFrame(frame);
    if (connection.io->SendRaw(bytes.data(), bytes.size()) != IO_OK) {
        m_journal.Write({{"event", "not sent"}, {"peer", connection.peer}});
    }
}

void CTerminalServer::HoldOpen(stConnection& connection) {
    uint8_t ignored = 0;
    while (WaitForInput(connection, std::chrono::steady_clock::time_point::max())) {
        if (connection.io->ReadRaw(&ignored, 1) != IO_OK) {
            m_journal.Write({{"event", "given up"}, {"peer", connection.peer}});
            return;
        }
    }
}

}  // namespace hx
