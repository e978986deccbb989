#include "channel/auto_find_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "channel/server_ip_pool.h"
#include "channel/testing_framework_key.h"
#include "platform/envr.h"
#include "tests/support/temp_drive.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

struct stDatagram {
    std::string payload;
    uint16_t fromPort = 0;
};

struct stReply {
    std::string fromAddress;  // a loopback address of its own, so the finder can tell who answered
    std::string payload;
};

// A front-desk server's discovery side on a loopback address: records every
// query and answers each with the replies it was given.
class CDiscoveryResponder {
public:
    CDiscoveryResponder(const std::string& address, std::vector<stReply> replies)
        : m_replies(std::move(replies)) {
        EXPECT_TRUE(m_socket.Open() && m_socket.Bind(address, 0));
        m_thread = std::thread([this] { Run(); });
    }
    ~CDiscoveryResponder() {
        m_stop = true;
        m_thread.join();
    }

    uint16_t Port() const { return m_socket.LocalPort(); }
    std::vector<stDatagram> Queries() const {
        std::lock_guard lock(m_mutex);
        return m_queries;
    }

private:
    void Run() {
        while (!m_stop) {
            if (WaitUntil([this] { return m_stop || m_socket.HasDatagram() == 1; }) && !m_stop) {
                AnswerOneQuery();
            }
        }
    }

    void AnswerOneQuery() {
        std::vector<uint8_t> buffer(512);
        stDatagramSender sender;
        const int size = m_socket.ReceiveFrom(buffer, sender);
        {
            std::lock_guard lock(m_mutex);
            m_queries.push_back(
                {std::string(buffer.begin(), buffer.begin() + std::max(size, 0)), sender.port});
        }
        for (const stReply& reply : m_replies) {
            CUdpSocket from;
            if (from.Open() && from.Bind(reply.fromAddress, 0)) {
                from.SendTo(Bytes(reply.payload), sender.address, sender.port);
            }
        }
    }

    CUdpSocket m_socket;
    std::vector<stReply> m_replies;
    mutable std::mutex m_mutex;
    std::vector<stDatagram> m_queries;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

uint16_t FreePort() {
    CUdpSocket probe;
    return probe.Open() && probe.Bind("127.0.0.1", 0) ? probe.LocalPort() : 0;
}

// Every test points the broadcast at loopback before any finder exists.
class AutoFindServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CEnvr::SetFrameworkKey(kTestRegistryCompany, kTestRegistryApplication);
    }
    void TearDown() override { CEnvr::SetFrameworkKey("", ""); }

    void AimAt(const std::string& address, uint16_t serverPort, uint16_t localPort) {
        const CEnvr settings;
        ASSERT_TRUE(settings.WriteString("TCP/IP", "DiscoveryAddress", address.c_str()));
        ASSERT_TRUE(settings.WriteInt("TCP/IP", "DiscoveryPort", serverPort));
        ASSERT_TRUE(settings.WriteInt("TCP/IP", "DiscoveryLocalPort", localPort));
        ASSERT_TRUE(address.starts_with("127."));
    }

    CTempDrive m_drive;
};

TEST_F(AutoFindServerTest, TheServerThatAnswersIsFound) {
    CDiscoveryResponder server("127.0.0.7", {{"127.0.0.7", "ZP-SERVER"}});
    const uint16_t localPort = FreePort();
    AimAt("127.0.0.7", server.Port(), localPort);

    CAutoFindServer finder;
    EXPECT_EQ(finder.GetServer(), "");
    ASSERT_EQ(finder.WaitUntilFind(), 1);
    EXPECT_EQ(finder.GetServer(), "127.0.0.7");
    const std::vector<stDatagram> queries = server.Queries();
    ASSERT_FALSE(queries.empty());
    EXPECT_EQ(queries.front().payload, "ZP-AGENT") << "eight bytes, no terminating zero";
    EXPECT_EQ(queries.front().fromPort, localPort);
}

TEST_F(AutoFindServerTest, OnlyAnExactAnswerCounts) {
    CDiscoveryResponder server(
        "127.0.0.7", {{"127.0.0.8", "ZP-SERVER!"}, {"127.0.0.9", std::string("ZP-SERVER\0", 10)}});
    AimAt("127.0.0.7", server.Port(), 0);

    CAutoFindServer finder;
    ASSERT_EQ(finder.WaitUntilFind(), 1);
    EXPECT_EQ(finder.GetServer(), "127.0.0.9");

    const auto answer = [](std::string_view text) { return IsDiscoveryAnswer(Bytes(text)); };
    EXPECT_TRUE(answer("ZP-SERVER"));
    EXPECT_TRUE(answer(std::string_view("ZP-SERVER\0tail", 14)));
    EXPECT_FALSE(answer("ZP-SERVER "));
    EXPECT_FALSE(answer("ZP-SERVE"));
    EXPECT_FALSE(answer("zp-server"));
    EXPECT_FALSE(answer(std::string_view("\0ZP-SERVER", 10)));
    EXPECT_FALSE(answer(""));
}

TEST_F(AutoFindServerTest, SocketThatCannotBeSetUpEndsTheSearchAtOnce) {
    CUdpSocket holder;
    ASSERT_TRUE(holder.Open() && holder.Bind("", 0));
    AimAt("127.0.0.7", FreePort(), holder.LocalPort());

    CAutoFindServer finder;
    EXPECT_EQ(finder.IsFound(), -1);
    EXPECT_FALSE(finder.BCast());
    EXPECT_EQ(finder.WaitUntilFind(), 0);
}

TEST_F(AutoFindServerTest, StarEntryResolvesThroughDiscovery) {
    CDiscoveryResponder server("127.0.0.7", {{"127.0.0.7", "ZP-SERVER"}});
    AimAt("127.0.0.7", server.Port(), 0);

    ASSERT_TRUE(CServerIpPool::WriteServerData(0, "10.1.2.3:255.255.255.0"));
    EXPECT_EQ(ResolveNextServer(), "10.1.2.3");
    EXPECT_TRUE(server.Queries().empty()) << "no discovery for a plain address";

    ASSERT_TRUE(CServerIpPool::WriteServerData(0, "*"));
    EXPECT_EQ(ResolveNextServer(), "127.0.0.7");
}

// Takes the whole search time (about 5 seconds).
TEST_F(AutoFindServerTest, SilenceGivesUpAfterFiveBroadcasts) {
    CDiscoveryResponder server("127.0.0.7", {});
    AimAt("127.0.0.7", server.Port(), 0);
    ASSERT_TRUE(CServerIpPool::WriteServerData(0, "*"));

    EXPECT_EQ(ResolveNextServer(), "");
    // The last query may still be on its way to the responder.
    WaitUntil([&] { return server.Queries().size() >= 5; });
    std::vector<std::string> payloads;
    for (const stDatagram& query : server.Queries()) {
        payloads.push_back(query.payload);
    }
    EXPECT_EQ(payloads, std::vector<std::string>(5, "ZP-AGENT"));
}

}  // namespace

}  // namespace hx
