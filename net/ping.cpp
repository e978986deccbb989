#include "net/ping.h"

#include <atomic>
#include <chrono>
#include <random>

#include "net/byte_order.h"
#include "platform/icmp_socket.h"

namespace hx {

namespace {

constexpr uint8_t kEchoRequest = 8;
constexpr uint8_t kEchoReply = 0;
constexpr size_t kEchoSize = 8;  // header only: type, code, checksum, id, sequence
constexpr int kTimeToLive = 255;

enumIcmpKind KindOf(CPing::enumEchoFacility facility) {
    return facility == CPing::ECHO_RAW ? enumIcmpKind::Raw : enumIcmpKind::Datagram;
}

CPing::enumEchoFacility FindFacility() {
    for (auto facility : {CPing::ECHO_DATAGRAM, CPing::ECHO_RAW}) {
        if (CIcmpSocket::IsOffered(KindOf(facility))) {
            return facility;
        }
    }
    return CPing::ECHO_NONE;
}

uint16_t InternetChecksum(const uint8_t* data, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < length; i += 2) {
        sum += LoadBe16(data + i);
    }
    while (sum >> 16) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<uint16_t>(~sum);
}

struct stEcho {
    uint16_t id;
    uint16_t sequence;
};

stEcho NextEcho() {
    // A raw socket sees every echo reply on the host: a random identifier keeps
    // ours apart from other programs' pings.
    static std::atomic<uint32_t> counter{std::random_device{}() & 0xFFFF0000u};
    uint32_t n = counter.fetch_add(1);
    return {static_cast<uint16_t>(n >> 16), static_cast<uint16_t>(n)};
}

bool SendEcho(CIcmpSocket& s, stEcho echo) {
    uint8_t request[kEchoSize] = {kEchoRequest, 0};
    StoreBe16(request + 4, echo.id);
    StoreBe16(request + 6, echo.sequence);
    StoreBe16(request + 2, InternetChecksum(request, sizeof request));
    return s.Send(request);
}

// A datagram socket delivers the ICMP message alone, with an identifier the
// system chose; a raw socket delivers every ICMP packet with its IP header.
bool IsOurReply(const uint8_t* packet, size_t length, CPing::enumEchoFacility facility,
                stEcho echo) {
    size_t offset = 0;
    if (facility == CPing::ECHO_RAW) {
        if (length < 20) {
            return false;
        }
        offset = static_cast<size_t>(packet[0] & 0x0F) * 4;
    }
    if (length < offset + kEchoSize || packet[offset] != kEchoReply) {
        return false;
    }
    bool idMatches = facility == CPing::ECHO_DATAGRAM || LoadBe16(packet + offset + 4) == echo.id;
    return idMatches && LoadBe16(packet + offset + 6) == echo.sequence;
}

bool AwaitReply(CIcmpSocket& s, CPing::enumEchoFacility facility, stEcho echo, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || s.WaitReadable(static_cast<int>(left.count())) != 1) {
            return false;
        }
        uint8_t packet[1500];
        const int got = s.Receive(packet);
        if (got > 0 && IsOurReply(packet, static_cast<size_t>(got), facility, echo)) {
            return true;
        }
    }
}

}  // namespace

CPing::CPing() : m_facility(FindFacility()) {}

int CPing::Ping(const char* host, int timeoutMs) {
    if (m_facility == ECHO_NONE) {
        return 1;
    }
    CIcmpSocket s;
    switch (s.Open(KindOf(m_facility), host, kTimeToLive)) {
        case CIcmpSocket::BAD_HOST:
            return 0;
        case CIcmpSocket::REFUSED:
            return 1;  // the facility went away: same as having none
        case CIcmpSocket::OPENED:
            break;
    }
    const stEcho echo = NextEcho();
    const bool answered = SendEcho(s, echo) && AwaitReply(s, m_facility, echo, timeoutMs);
    return answered ? 1 : 0;
}

int CPing::Ping(const char* host, int attempts, int timeoutMs) {
    if (m_facility == ECHO_NONE) {
        return 1;
    }
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (Ping(host, timeoutMs) == 1) {
            return 1;
        }
    }
    return 0;
}

}  // namespace hx
