#include "tools/frontdesk/discovery_answer.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/wait_until.h"
#include "tools/frontdesk/datagram_listener.h"

namespace hx {

namespace {

std::vector<uint8_t> Datagram(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(DiscoveryAnswer, AnswersOnlyTheAgentsCall) {
    EXPECT_EQ(AnswerDiscovery(Datagram("ZP-AGENT")), Datagram("ZP-SERVER"));
    EXPECT_TRUE(AnswerDiscovery(Datagram(std::string("ZP-AGENT\0junk", 13))));
    for (const char* other : {"ZP-AGEN", "ZP-AGENTX", "zp-agent", "", "ZP-SERVER"}) {
        EXPECT_FALSE(AnswerDiscovery(Datagram(other))) << other;
    }
}

TEST(DiscoveryAnswer, AnswersTheSenderOverLoopback) {
    CDatagramListener listener([](std::span<const uint8_t> datagram, const stDatagramSender&) {
        return AnswerDiscovery(datagram);
    });
    std::string error;
    ASSERT_TRUE(listener.Start("127.0.0.1", 0, error)) << error;
    CUdpSocket agent;
    ASSERT_TRUE(agent.Open() && agent.Bind("127.0.0.1", 0));
    ASSERT_EQ(agent.SendTo(Datagram("ZP-AGENT"), "127.0.0.1", listener.Port()), 8);
    WaitUntil([&] { return agent.HasDatagram() == 1; });
    std::vector<uint8_t> answer(64);
    stDatagramSender sender;
    const int length = agent.ReceiveFrom(answer, sender);
    ASSERT_EQ(length, 9);
    answer.resize(9);
    EXPECT_EQ(answer, Datagram("ZP-SERVER"));
    EXPECT_EQ(sender.address, "127.0.0.1");
    EXPECT_EQ(sender.port, listener.Port());
}

}  // namespace

}  // namespace hx
