#pragma once
// A small IPv4 datagram socket: bind, allow broadcasts, send to an address,
// see whether a datagram waits and receive it with its sender. Addresses are
// dotted texts; failures are return values.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace hx {

struct stDatagramSender {
    std::string address;  // dotted, "%u.%u.%u.%u"
    uint16_t port = 0;
};

class CUdpSocket {
public:
    CUdpSocket() = default;
    ~CUdpSocket();
    CUdpSocket(const CUdpSocket&) = delete;
    CUdpSocket& operator=(const CUdpSocket&) = delete;

    // Creates the socket; false when one is open already or the system refuses.
    bool Open();
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    bool AllowBroadcast();
    // An empty address or "0.0.0.0" binds every local address; port 0 takes a free one.
    bool Bind(const std::string& address, uint16_t port);
    // The bound local port; 0 when unbound or closed.
    uint16_t LocalPort() const;

    // The number of bytes sent, or -1 (also for an address that is not dotted IPv4).
    int SendTo(std::span<const uint8_t> data, const std::string& address, uint16_t port);
    // 1 when a datagram waits (an empty one counts), 0 when none came within
    // waitMs, -1 on failure.
    int HasDatagram(int waitMs = 0);
    // Takes one datagram, cut to the buffer; the bytes copied, or -1.
    int ReceiveFrom(std::span<uint8_t> buffer, stDatagramSender& sender);

private:
    int m_fd = -1;
};

}  // namespace hx
