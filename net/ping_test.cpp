#include "net/ping.h"

#include <gtest/gtest.h>

#include "net/io_limits.h"
#include "net/io_packet.h"

namespace hx {

namespace {

// Without a facility every host "answers", which would prove nothing here.
#define SKIP_WITHOUT_ECHO_FACILITY(ping)                   \
    if ((ping).GetFacility() == CPing::ECHO_NONE) {        \
        GTEST_SKIP() << "no echo facility on this system"; \
    }

// An answer from loopback, and no answer counted where none can have come: a
// reply must be waited for (a zero wait sees none).
TEST(Ping, LoopbackAnswersOnlyWhenTheReplyIsAwaited) {
    CPing ping;
    SKIP_WITHOUT_ECHO_FACILITY(ping);
    EXPECT_EQ(ping.Ping("127.0.0.1", 2000), 1);
    EXPECT_EQ(ping.Ping("127.0.0.2", 3, 2000), 1);
    EXPECT_EQ(ping.Ping("127.0.0.1", 0), 0);
    EXPECT_EQ(ping.Ping("127.0.0.1", 3, 0), 0);
}

TEST(Ping, TextThatIsNoAddressFailsAndZeroAttemptsFail) {
    CPing ping;
    SKIP_WITHOUT_ECHO_FACILITY(ping);
    EXPECT_EQ(ping.Ping("localhost", 200), 0);  // no name lookup
    EXPECT_EQ(ping.Ping("1.2.3", 2, 200), 0);
    EXPECT_EQ(ping.Ping("127.0.0.1", 0, 200), 0);
}

TEST(Ping, WithoutEchoFacilityEveryHostAnswers) {
    CPing none(CPing::ECHO_NONE);
    EXPECT_EQ(none.Ping("no address at all", 10), 1);
    EXPECT_EQ(none.Ping("127.0.0.1", 0, 10), 1);
}

// A host that cannot answer in time (no time at all is given) is refused
// before any connection attempt, unless the echo test is switched off.
TEST(Ping, ConnectRunsTheEchoTestUnlessToldNot) {
    SKIP_WITHOUT_ECHO_FACILITY(CPing());
    struct CNoTimeForEchoes {
        CNoTimeForEchoes() {
            stIoTimeLimits limits;
            limits.echoTimeoutMs = 0;
            limits.echoAttempts = 1;
            SetIoTimeLimits(limits);
        }
        ~CNoTimeForEchoes() { SetIoTimeLimits(stIoTimeLimits{}); }
    } noTime;
    CIOPacket listener("127.0.0.1", 0);
    ASSERT_EQ(listener.Listen("127.0.0.1"), 1);
    const auto port = static_cast<uint16_t>(listener.GetLocalPort());

    CIOPacket echoing("127.0.0.1", port);
    EXPECT_EQ(echoing.Connect(1), IO_UNREACHABLE);
    EXPECT_EQ(echoing.GetSocket(), -1);
    EXPECT_EQ(listener.Accept(), nullptr) << "no connection was attempted";

    CIOPacket trusting("127.0.0.1", port);
    trusting.AddExtOption(IOEXT_NOPING);
    EXPECT_EQ(trusting.Connect(1), IO_OK);
    EXPECT_NE(listener.Accept(), nullptr);
}

}  // namespace

}  // namespace hx
