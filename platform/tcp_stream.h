#pragma once
// A bare TCP connection on loopback, without the transport's framing: the
// card terminal control's link to the terminal program on the same machine,
// and tests that must put exact bytes on the wire (an HTTP request, a
// WebSocket frame, noise) and the benchmark of the framing against a bare copy.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace hx {

class CTcpStream {
public:
    CTcpStream() = default;
    ~CTcpStream();
    CTcpStream(const CTcpStream&) = delete;
    CTcpStream& operator=(const CTcpStream&) = delete;

    // Both ends of a fresh connection over 127.0.0.1, the connecting end
    // sending at once (no Nagle delay); false when none could be made.
    static bool ConnectPair(CTcpStream& client, CTcpStream& server);

    // `address` is a dotted 127.x.x.x; false when nothing accepts there.
    bool Connect(const std::string& address, std::uint16_t port);
    bool IsOpen() const { return m_socket >= 0; }
    void Close();

    bool SendAll(std::span<const std::uint8_t> bytes);
    bool SendAll(std::string_view bytes) {
        return SendAll({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    }
    // Appends what arrives before the deadline; false at the deadline or when the peer closed.
    bool ReceiveSome(std::string& buffer, std::chrono::steady_clock::time_point deadline);
    // Fills `bytes` whole, waiting as long as that takes; false when the connection ended first.
    bool ReceiveExactly(std::span<std::uint8_t> bytes);

    // Takes over a connected socket (a listener's accepted one).
    void Adopt(std::intptr_t socket);

private:
    std::intptr_t m_socket = -1;
};

}  // namespace hx
