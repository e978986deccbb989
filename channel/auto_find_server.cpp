#include "channel/auto_find_server.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <string_view>

#include "channel/server_ip_pool.h"
#include "platform/envr.h"

namespace hx {

namespace {

constexpr const char* kSection = "TCP/IP";
constexpr const char* kAddressName = "DiscoveryAddress";
constexpr const char* kServerPortName = "DiscoveryPort";
constexpr const char* kLocalPortName = "DiscoveryLocalPort";
constexpr const char* kDefaultAddress = "255.255.255.255";
constexpr int kDefaultServerPort = 5001;
constexpr int kDefaultLocalPort = 5000;

constexpr std::string_view kQuery = "ZP-AGENT";
constexpr std::string_view kAnswer = "ZP-SERVER";
constexpr const char* kDiscoverEntry = "*";

constexpr int kPasses = 50;
constexpr int kPassesPerBroadcast = 10;
constexpr auto kPassInterval = std::chrono::milliseconds(100);
constexpr size_t kLargestAnswer = 255;

bool IsPort(int value) {
    return value >= 0 && value <= 0xFFFF;
}

}  // namespace

bool IsDiscoveryAnswer(std::span<const uint8_t> datagram) {
    const std::string_view text(reinterpret_cast<const char*>(datagram.data()), datagram.size());
    return text.substr(0, text.find('\0')) == kAnswer;
}

CAutoFindServer::CAutoFindServer() {
    const int localPort = CEnvr().GetInt(kSection, kLocalPortName, kDefaultLocalPort);
    if (!IsPort(localPort) || !m_socket.Open() || !m_socket.AllowBroadcast() ||
        !m_socket.Bind("", static_cast<uint16_t>(localPort))) {
        m_socket.Close();
    }
}

int CAutoFindServer::WaitUntilFind() {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + kPasses * kPassInterval;
    Clock::time_point nextBroadcast = Clock::now();
    while (true) {
        const int found = IsFound();
        if (found != 0) {
            return found > 0 ? 1 : 0;
        }
        const Clock::time_point now = Clock::now();
        if (now >= end) {
            return 0;
        }
        if (now >= nextBroadcast) {
            BCast();
            nextBroadcast = now + kPassesPerBroadcast * kPassInterval;
        }
        // An answer ends the wait at once; other datagrams are read and dropped.
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
            std::min(nextBroadcast, end) - Clock::now());
        m_socket.HasDatagram(static_cast<int>(std::max<std::int64_t>(wait.count(), 0)));
    }
}

int CAutoFindServer::IsFound() {
    const int waiting = m_socket.HasDatagram();
    if (waiting <= 0) {
        return waiting;
    }
    std::array<uint8_t, kLargestAnswer> buffer{};
    stDatagramSender sender;
    const int received = m_socket.ReceiveFrom(buffer, sender);
    if (received < 0) {
        return -1;
    }
    if (!IsDiscoveryAnswer(std::span(buffer).first(static_cast<size_t>(received)))) {
        return 0;
    }
    m_server = sender.address;
    return 1;
}

bool CAutoFindServer::BCast() {
    const CEnvr settings;
    const std::string address = settings.GetString(kSection, kAddressName, kDefaultAddress);
    const int port = settings.GetInt(kSection, kServerPortName, kDefaultServerPort);
    if (!IsPort(port)) {
        return false;
    }
    const std::span query(reinterpret_cast<const uint8_t*>(kQuery.data()), kQuery.size());
    return m_socket.SendTo(query, address, static_cast<uint16_t>(port)) ==
           static_cast<int>(kQuery.size());
}

std::string ResolveNextServer() {
    CServerIpPool pool;
    pool.MoveNext();
    const std::string address = pool.GetAddress();
    if (address != kDiscoverEntry) {
        return address;
    }
    CAutoFindServer finder;
    return finder.WaitUntilFind() == 1 ? finder.GetServer() : std::string();
}

}  // namespace hx
