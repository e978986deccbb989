#include "channel/channel_input_wait.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "channel/net_channel_thread.h"
#include "net/io_memory.h"
#include "net/io_packet.h"
#include "net/socket_wait.h"
#include "platform/tcp_stream.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

// The wire bytes of the messages as the transport frames them.
Bytes Framed(const std::vector<Bytes>& messages) {
    auto memory = std::make_unique<CIOMemory>(CIOPacket::GetDefaultOption());
    CIOMemory& wire = *memory;
    CIOPacket framer(std::move(memory));
    for (const Bytes& message : messages) {
        EXPECT_EQ(framer.Send(message.data(), static_cast<int>(message.size())), IO_OK);
    }
    return wire.Sent();
}

bool ReceiveOne(CIOPacket& connection) {
    uint8_t* buffer = nullptr;
    int length = 0;
    const int result = connection.Receive(&buffer, &length);
    FreeReceiveBuffer(buffer);
    return result == IO_OK;
}

TEST(ChannelInputWait, MessagesAlreadyTakenOffTheSocketEndTheWaitAtOnce) {
    CIOPacket listener("127.0.0.1", 0);
    ASSERT_EQ(listener.Listen("127.0.0.1"), 1);
    CTcpStream peer;
    ASSERT_TRUE(peer.Connect("127.0.0.1", static_cast<uint16_t>(listener.GetLocalPort())));
    std::unique_ptr<CIOPacket> connection;
    ASSERT_TRUE(WaitUntil([&] { return (connection = listener.Accept()) != nullptr; }));
    const intptr_t socket = connection->GetSocket();

    const Bytes burst = Framed({Bytes(40, 1), Bytes(50, 2), Bytes(60, 3)});
    ASSERT_TRUE(peer.SendAll(burst)) << "the whole burst in one write";
    ASSERT_TRUE(ReceiveOne(*connection));
    ASSERT_EQ(WaitSocketReadable(socket, 0), 0) << "the first read took the whole burst";

    for (int left = 2; left > 0; --left) {
        EXPECT_EQ(WaitChannelInput(*connection, socket, CChannelThread::kIdleWaitMs), 1)
            << left << " messages wait in the transport";
        ASSERT_TRUE(ReceiveOne(*connection));
    }
    EXPECT_EQ(WaitChannelInput(*connection, socket, std::chrono::milliseconds(0)), 0);

    ASSERT_TRUE(peer.SendAll(Framed({Bytes(40, 4)})));
    EXPECT_EQ(WaitChannelInput(*connection, socket, kTestPatience), 1) << "the socket's input";
}

}  // namespace

}  // namespace hx
