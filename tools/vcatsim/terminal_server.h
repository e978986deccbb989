#pragma once
// The terminal program's socket: listens where the kiosk's control connects,
// serves each connection on a thread of its own (one request, its progress
// states, its answer) and carries out console lines under the same lock as
// the requests, so a scripted outcome never lands inside a request.

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/io_tcp.h"
#include "net/socket_waiter.h"
#include "tools/common/device_line.h"
#include "tools/vcatsim/card_terminal.h"
#include "tools/vcatsim/terminal_console.h"

namespace hx {

struct stServerLimits {
    // Connections served at once; one more is journalled and closed. The
    // kiosk's control makes one at a time.
    int maxConnections = 8;
    // A connection that sends nothing in this time is closed; once its request
    // began, the transport's limit between bytes applies.
    std::chrono::milliseconds readTimeout = std::chrono::seconds(10);
};

class CTerminalServer : public CDeviceLine {
public:
    CTerminalServer(CCardTerminal& terminal, CToolJournal& journal, stServerLimits limits = {});
    ~CTerminalServer() override;

    // Listens on the address and port (0: any free port); false with the reason.
    bool Listen(const std::string& address, uint16_t port, std::string& error);
    uint16_t Port() const { return m_port; }

private:
    struct stConnection;

    void Serve(const std::atomic<bool>& stop) override;
    std::string RunConsoleLine(std::string_view line) override;
    bool ConsoleQuitAsked() const override { return m_console.QuitAsked(); }

    void Admit(std::unique_ptr<CIOBase> io);
    void ReapFinished();
    void StopConnections();
    void RunConnection(stConnection& connection);
    // Waits for input until the deadline; false when the time ran out or the
    // server stops (the connection then gets the exit frame).
    bool WaitForInput(stConnection& connection, std::chrono::steady_clock::time_point deadline);
    std::optional<stTerminalFrame> ReadRequest(stConnection& connection);
    void Send(stConnection& connection, const stTerminalFrame& frame);
    // Silent: holds the connection until the kiosk gives up or the server stops.
    void HoldOpen(stConnection& connection);

    CCardTerminal& m_terminal;
    CTerminalConsole m_console;
    stServerLimits m_limits;
    std::unique_ptr<CIOTcp> m_listener;
    uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    CSocketWaiter m_acceptWaiter;
    std::vector<std::unique_ptr<stConnection>> m_connections;  // the accept thread's
};

}  // namespace hx
