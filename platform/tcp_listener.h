#pragma once
// A TCP listener on a loopback address: for the terminal simulator's side
// of the card terminal link and for tests that play a server.

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/tcp_stream.h"

namespace hx {

class CTcpListener {
public:
    CTcpListener() = default;
    ~CTcpListener();
    CTcpListener(const CTcpListener&) = delete;
    CTcpListener& operator=(const CTcpListener&) = delete;

    // `address` is dotted IPv4; port 0 takes a free one. False when the
    // address cannot be had.
    bool Listen(const std::string& address, std::uint16_t port);
    void Close();
    bool IsOpen() const { return m_socket >= 0; }
    std::uint16_t Port() const;

    // The next connection, into `stream`; false at the deadline.
    bool Accept(CTcpStream& stream, std::chrono::steady_clock::time_point deadline);

private:
    std::intptr_t m_socket = -1;
};

}  // namespace hx
