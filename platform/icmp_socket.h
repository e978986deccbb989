#pragma once
// A socket for ICMP echo to one IPv4 host. An ICMP datagram socket needs no
// privilege but the system may refuse it; a raw socket needs privilege and
// sees every ICMP packet of the host, IP header included.

#include <cstdint>
#include <span>

namespace hx {

enum class enumIcmpKind { Datagram, Raw };

class CIcmpSocket {
public:
    enum enumOpen { OPENED, BAD_HOST, REFUSED };

    CIcmpSocket() = default;
    ~CIcmpSocket();
    CIcmpSocket(const CIcmpSocket&) = delete;
    CIcmpSocket& operator=(const CIcmpSocket&) = delete;

    // Whether this process may open a socket of that kind at all.
    static bool IsOffered(enumIcmpKind kind);

    // Opens a socket for host, a dotted IPv4 address (any other text is
    // BAD_HOST), with the given time-to-live on what it sends.
    enumOpen Open(enumIcmpKind kind, const char* host, int timeToLive);

    // Sends one ICMP message to the host; false when not all of it went.
    bool Send(std::span<const uint8_t> message);
    // Waits up to timeoutMs for a packet: 1 one waits, 0 none came, -1 failure.
    int WaitReadable(int timeoutMs);
    // Takes one packet without waiting: its length, 0 when it came from
    // another host (nothing copied), -1 when none could be taken.
    int Receive(std::span<uint8_t> buffer);

private:
    intptr_t m_socket = -1;
    uint32_t m_host = 0;  // network order
};

}  // namespace hx
