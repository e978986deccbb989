#include "net/ping.h"

#include <gtest/gtest.h>

#include "net/io_packet.h"

namespace hx {

namespace {

TEST(Ping, LoopbackAnswers) {
    CPing ping;
    EXPECT_EQ(ping.Ping("127.0.0.1", 2000), 1);
    EXPECT_EQ(ping.Ping("127.0.0.1", 3, 2000), 1);
}

TEST(Ping, TextThatIsNoAddressFailsAndZeroAttemptsFail) {
    CPing ping;
    if (ping.GetFacility() == CPing::ECHO_NONE) {
        GTEST_SKIP() << "no echo facility on this system";
    }
    EXPECT_EQ(ping.Ping("localhost", 200), 0);  // no name lookup
    EXPECT_EQ(ping.Ping("1.2.3", 2, 200), 0);
    EXPECT_EQ(ping.Ping("127.0.0.1", 0, 200), 0);
}

TEST(Ping, WithoutEchoFacilityEveryHostAnswers) {
    CPing none(CPing::ECHO_NONE);
    EXPECT_EQ(none.Ping("no address at all", 10), 1);
    EXPECT_EQ(none.Ping("127.0.0.1", 0, 10), 1);
}

TEST(Ping, ConnectRunsTheEchoTestUnlessToldNot) {
    CIOPacket listener("127.0.0.1", 0);
    ASSERT_EQ(listener.Listen("127.0.0.1"), 1);
    CIOPacket client("127.0.0.1", static_cast<uint16_t>(listener.GetLocalPort()));
    EXPECT_EQ(client.Connect(1), IO_OK);
    EXPECT_NE(listener.Accept(), nullptr);
}

}  // namespace

}  // namespace hx
