#include "tools/frontdesk/datagram_listener.h"

#include <chrono>

namespace hx {

namespace {

constexpr size_t kLargestDatagram = 2048;
// The longest a stop waits for the thread to notice it.
constexpr int kStopCheckMs = 250;

}  // namespace

CDatagramListener::~CDatagramListener() {
    Stop();
}

bool CDatagramListener::Start(const std::string& address, uint16_t port, std::string& error) {
    if (!m_socket.Open() || !m_socket.Bind(address, port)) {
        m_socket.Close();
        error = "cannot bind UDP " + address + ":" + std::to_string(port);
        return false;
    }
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CDatagramListener::Stop() {
    m_stopping = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_socket.Close();
}

void CDatagramListener::Run() {
    std::vector<uint8_t> buffer(kLargestDatagram);
    while (!m_stopping) {
        const int waiting = m_socket.HasDatagram(kStopCheckMs);
        if (waiting == 0) {
            continue;
        }
        // After a failed wait the receive takes the socket's pending error off it.
        stDatagramSender sender;
        const int length = m_socket.ReceiveFrom(buffer, sender);
        if (length < 0) {
            if (waiting < 0) {
                // A socket that keeps failing must not spin the thread.
                std::this_thread::sleep_for(std::chrono::milliseconds(kStopCheckMs));
            }
            continue;
        }
        const auto reply = m_handler(std::span(buffer).first(static_cast<size_t>(length)), sender);
        if (reply) {
            m_socket.SendTo(*reply, sender.address, sender.port);
        }
    }
}

}  // namespace hx
