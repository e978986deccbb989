#pragma once
// Finds the front-desk server on the local network: broadcasts "ZP-AGENT" and
// takes the sender of the first "ZP-SERVER" answer. The broadcast address and
// both ports are "TCP/IP" settings, so a test can point them at loopback:
//   DiscoveryAddress    text    "255.255.255.255"  where "ZP-AGENT" goes
//   DiscoveryPort       number  5001               the server's port
//   DiscoveryLocalPort  number  5000               the port answers come to

#include <cstdint>
#include <span>
#include <string>

#include "platform/udp_socket.h"

namespace hx {

class CAutoFindServer {
public:
    // Opens the socket, allows broadcasts and binds the local port on every
    // address; on any failure the socket stays closed and every search fails.
    CAutoFindServer();

    // Looks for an answer, broadcasting once a second, for about 5 seconds:
    // 1 when a server answered, 0 when none did or the socket failed.
    int WaitUntilFind();
    // 1 when a waiting datagram was an answer (its sender becomes the server),
    // 0 when none waits or it was something else, -1 when the socket failed.
    int IsFound();
    // The dotted address of the server that answered; empty before.
    const std::string& GetServer() const { return m_server; }
    // Sends one "ZP-AGENT"; false when it could not be sent.
    bool BCast();

private:
    CUdpSocket m_socket;
    std::string m_server;
};

// "ZP-SERVER", alone or followed by a zero byte (whatever comes after that zero).
bool IsDiscoveryAnswer(std::span<const uint8_t> datagram);

// The address for the next connect: the server pool's next entry, or the
// server found by discovery when that entry is "*"; empty when none answered.
std::string ResolveNextServer();

}  // namespace hx
