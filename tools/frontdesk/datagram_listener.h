#pragma once
// A UDP socket served by a thread of its own: every datagram goes to a
// handler, whose answer (if any) goes back to the sender. Discovery and the
// control socket both use it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/udp_socket.h"

namespace hx {

class CDatagramListener {
public:
    using Handler = std::function<std::optional<std::vector<uint8_t>>(
        std::span<const uint8_t> datagram, const stDatagramSender& sender)>;

    explicit CDatagramListener(Handler handler) : m_handler(std::move(handler)) {}
    ~CDatagramListener();
    CDatagramListener(const CDatagramListener&) = delete;
    CDatagramListener& operator=(const CDatagramListener&) = delete;

    // Binds the address and port (0: a free one); false with the reason.
    bool Start(const std::string& address, uint16_t port, std::string& error);
    void Stop();
    uint16_t Port() const { return m_socket.LocalPort(); }

private:
    void Run();

    Handler m_handler;
    CUdpSocket m_socket;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

}  // namespace hx
