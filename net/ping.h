#pragma once
// Whether a host answers ICMP echo requests. Uses an ICMP datagram socket, or
// a raw ICMP socket where those are refused; with neither there is no echo
// facility and every host counts as answering, so connecting goes ahead.

#include <cstdint>

namespace hx {

class CPing {
public:
    enum enumEchoFacility { ECHO_NONE, ECHO_DATAGRAM, ECHO_RAW };

    // Finds the facility this process may use.
    CPing();
    // Uses the given facility (ECHO_NONE: behave as on a system without one).
    explicit CPing(enumEchoFacility facility) : m_facility(facility) {}

    enumEchoFacility GetFacility() const { return m_facility; }

    // One echo request without data, time-to-live 255: 1 when the host's echo
    // reply came within timeoutMs, else 0. The host is a dotted address; any
    // other text fails. 1 without an echo facility.
    int Ping(const char* host, int timeoutMs);
    // Up to attempts echoes, 1 at the first reply; 0 when none answered or
    // attempts is 0 or less. 1 without an echo facility.
    int Ping(const char* host, int attempts, int timeoutMs);

private:
    enumEchoFacility m_facility;
};

}  // namespace hx
