#include "net/ping.h"

#include <atomic>
#include <chrono>
#include <random>

#include "net/byte_order.h"
#include "net/socket_api.h"

namespace hx {

namespace {

constexpr uint8_t kEchoRequest = 8;
constexpr uint8_t kEchoReply = 0;
constexpr size_t kEchoSize = 8;  // header only: type, code, checksum, id, sequence
constexpr int kTimeToLive = 255;

SocketHandle OpenEchoSocket(CPing::enumEchoFacility facility) {
    return socket(AF_INET, facility == CPing::ECHO_RAW ? SOCK_RAW : SOCK_DGRAM, IPPROTO_ICMP);
}

CPing::enumEchoFacility FindFacility() {
    for (auto facility : {CPing::ECHO_DATAGRAM, CPing::ECHO_RAW}) {
        SocketHandle probe = OpenEchoSocket(facility);
        if (probe != kNoSocket) {
            CloseSocket(probe);
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

bool SendEcho(SocketHandle s, const sockaddr_in& target, stEcho echo) {
    uint8_t request[kEchoSize] = {kEchoRequest, 0};
    StoreBe16(request + 4, echo.id);
    StoreBe16(request + 6, echo.sequence);
    StoreBe16(request + 2, InternetChecksum(request, sizeof request));
    return sendto(s, reinterpret_cast<const char*>(request), sizeof request, 0,
                  reinterpret_cast<const sockaddr*>(&target),
                  sizeof target) == static_cast<long>(sizeof request);
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

bool AwaitReply(SocketHandle s, const in_addr& target, CPing::enumEchoFacility facility,
                stEcho echo, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || WaitSocket(s, POLLIN, static_cast<int>(left.count())) != 1) {
            return false;
        }
        uint8_t packet[1500];
        sockaddr_in from{};
        SocketLength fromLength = sizeof from;
        auto got = recvfrom(s, reinterpret_cast<char*>(packet), sizeof packet, kNoWaitFlags,
                            reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (got > 0 && from.sin_addr.s_addr == target.s_addr &&
            IsOurReply(packet, static_cast<size_t>(got), facility, echo)) {
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
    sockaddr_in target{};
    target.sin_family = AF_INET;
    if (host == nullptr || inet_pton(AF_INET, host, &target.sin_addr) != 1) {
        return 0;
    }
    SocketHandle s = OpenEchoSocket(m_facility);
    if (s == kNoSocket) {
        return 1;  // the facility went away: same as having none
    }
    setsockopt(s, IPPROTO_IP, IP_TTL, reinterpret_cast<const char*>(&kTimeToLive),
               sizeof kTimeToLive);
    stEcho echo = NextEcho();
    bool answered =
        SendEcho(s, target, echo) && AwaitReply(s, target.sin_addr, m_facility, echo, timeoutMs);
    CloseSocket(s);
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
