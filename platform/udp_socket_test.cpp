#include "platform/udp_socket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/wait_until.h"

namespace hx {

namespace {

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Loopback delivery is quick but not promised to be done when sendto returns.
bool WaitForDatagram(CUdpSocket& socket) {
    return WaitUntil([&] { return socket.HasDatagram() != 0; }) && socket.HasDatagram() == 1;
}

void OpenBound(CUdpSocket& socket, const std::string& address) {
    ASSERT_TRUE(socket.Open());
    ASSERT_TRUE(socket.Bind(address, 0));
    ASSERT_NE(socket.LocalPort(), 0);
}

TEST(UdpSocketTest, DeliversDatagramsWithTheirSenderAndNeverBlocks) {
    CUdpSocket receiver;
    CUdpSocket sender;
    OpenBound(receiver, "127.0.0.1");
    OpenBound(sender, "127.0.0.5");

    std::vector<uint8_t> buffer(16);
    stDatagramSender from;
    EXPECT_EQ(receiver.HasDatagram(), 0);
    EXPECT_EQ(receiver.ReceiveFrom(buffer, from), -1) << "nothing waits: must not block";

    ASSERT_EQ(sender.SendTo(Bytes("ZP-AGENT"), "127.0.0.1", receiver.LocalPort()), 8);
    ASSERT_TRUE(WaitForDatagram(receiver));
    ASSERT_EQ(receiver.ReceiveFrom(buffer, from), 8);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 8), "ZP-AGENT");
    EXPECT_EQ(from.address, "127.0.0.5");
    EXPECT_EQ(from.port, sender.LocalPort());
    EXPECT_EQ(receiver.HasDatagram(), 0);
}

TEST(UdpSocketTest, EmptyDatagramDoesNotHideTheOnesBehindIt) {
    CUdpSocket receiver;
    CUdpSocket sender;
    OpenBound(receiver, "127.0.0.1");
    OpenBound(sender, "127.0.0.1");

    ASSERT_EQ(sender.SendTo({}, "127.0.0.1", receiver.LocalPort()), 0);
    ASSERT_EQ(sender.SendTo(Bytes("0123456789"), "127.0.0.1", receiver.LocalPort()), 10);

    std::vector<uint8_t> buffer(4);
    stDatagramSender from;
    ASSERT_TRUE(WaitForDatagram(receiver));
    EXPECT_EQ(receiver.ReceiveFrom(buffer, from), 0);
    ASSERT_TRUE(WaitForDatagram(receiver));
    // A longer datagram is cut to the buffer and its rest dropped.
    EXPECT_EQ(receiver.ReceiveFrom(buffer, from), 4);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "0123");
    EXPECT_EQ(receiver.HasDatagram(), 0);
}

TEST(UdpSocketTest, RefusesWhatCannotWork) {
    CUdpSocket first;
    CUdpSocket second;
    OpenBound(first, "127.0.0.1");
    ASSERT_TRUE(second.Open());
    EXPECT_FALSE(second.Open()) << "already open";
    EXPECT_FALSE(second.Bind("127.0.0.1", first.LocalPort())) << "port taken";
    EXPECT_FALSE(second.Bind("127.0.0.300", 0));
    EXPECT_EQ(second.SendTo(Bytes("x"), "server.local", first.LocalPort()), -1);
    EXPECT_EQ(second.SendTo(Bytes("x"), "", first.LocalPort()), -1);

    second.Close();
    EXPECT_FALSE(second.IsOpen());
    EXPECT_FALSE(second.AllowBroadcast());
    EXPECT_EQ(second.LocalPort(), 0);
    EXPECT_EQ(second.HasDatagram(), -1);
    EXPECT_EQ(second.SendTo(Bytes("x"), "127.0.0.1", first.LocalPort()), -1);
    std::vector<uint8_t> buffer(4);
    stDatagramSender from;
    EXPECT_EQ(second.ReceiveFrom(buffer, from), -1);
}

}  // namespace

}  // namespace hx
