// The channel against a server on loopback: handshake, receiving and routing,
// keep-alive and reconnection.
#include "channel/net_channel.h"

#include <gtest/gtest.h>

#include "channel/net_client.h"
#include "channel/server_ip_pool.h"
#include "channel/testing_channel.h"
#include "platform/cp949.h"
#include "platform/fixed_field.h"
#include "platform/ini_file.h"

namespace hx {

namespace {

using ChannelHandshake = CChannelTest;
using ChannelReceive = CChannelTest;
using ChannelLink = CChannelTest;

Bytes Zeros(size_t count) {
    return Bytes(count, 0);
}

Bytes Slice(const Bytes& packet, size_t offset, size_t size) {
    return Bytes(packet.begin() + offset, packet.begin() + offset + size);
}

TEST_F(ChannelHandshake, RequestDescribesTheMachineAndTheAnswerIsStoredAndConfirmed) {
    CTestChannel channel(m_server.Port());
    channel.machine.computerName = "KIOSK-07";
    channel.machine.adapters.push_back(
        TableAdapter("Intel PCI Wireless Adapter (iwlwifi)", kIntelMac));
    ASSERT_TRUE(CEnvr().WriteInt("KIOSK", "KioskNo", 17));

    auto peer = std::async(std::launch::async,
                           [&] { return m_server.Handshake(42, 0x1234, "1층 키오스크"); });
    channel.Start(0);
    const std::optional<CTestingServer::stHandshake> handshake = peer.get();
    ASSERT_TRUE(handshake.has_value());
    ASSERT_TRUE(FinishAttempt(channel));

    const Bytes& request = handshake->request;
    ASSERT_EQ(request.size(), kHandshakeRequestSize);
    EXPECT_EQ(Field32(request, HDR_COMMAND), CMD_HANDSHAKE);
    EXPECT_EQ(Field32(request, HDR_SIZE), 268u);
    EXPECT_EQ(Field32(request, HDR_SENDER_CLIENT_KEY), 0u);
    EXPECT_EQ(Field32(request, HDR_UNIQUE_NO), 17u) << "the number of the last handshake";
    EXPECT_EQ(Field32(request, HDR_MAGIC), kPacketMagic);
    EXPECT_EQ(Field32(request, 36), 0u) << "channel type";
    EXPECT_EQ(WireText(request, 40, 64), "KIOSK-07");
    EXPECT_EQ(WireText(request, 104, 32), "127.0.0.1");
    EXPECT_EQ(WireText(request, 168, 32), "00:E0:4C:68:01:01");
    EXPECT_EQ(WireText(request, 200, 32), "8C:16:45:0A:BC:02");
    EXPECT_EQ(Field32(request, 264), 1u) << "a wired card of a known vendor";

    const Bytes& confirm = handshake->confirm;
    ASSERT_EQ(confirm.size(), kHandshakeConfirmSize);
    EXPECT_EQ(Field32(confirm, HDR_COMMAND), CMD_HANDSHAKE_CONFIRM);
    EXPECT_EQ(Field32(confirm, HDR_UNIQUE_NO), 42u);
    EXPECT_EQ(Field32(confirm, HDR_SENDER_CLIENT_KEY), 0x1234u);
    EXPECT_EQ(WireText(confirm, 36, 64), Cp949FromUtf8("1층 키오스크"));

    EXPECT_EQ(channel.IsAlive(), 1);
    EXPECT_EQ(channel.GetUniqueNo(), 42u);
    EXPECT_EQ(channel.GetClientKey(), 0x1234u);
    EXPECT_EQ(channel.GetCurServerIP(), "127.0.0.1");
    EXPECT_EQ(channel.GetIP(), "127.0.0.1");
    EXPECT_EQ(CEnvr().GetInt("KIOSK", "KioskNo", -1), 42);
    EXPECT_EQ(CEnvr().GetString("KIOSK", "KioskName", "?"), "1층 키오스크");
    EXPECT_EQ(CServerIpPool::GetWiniIniServer(""), "127.0.0.1") << "the last good server";
    EXPECT_EQ(CEnvr().GetInt("TCP/IP", "NextIndex", -5), 0);
    // Closed by the connect, connecting, then connected by the handshake and by OnNetConnect.
    EXPECT_EQ(channel.States(), (std::vector<int>{0, 1, 2, 2}));
}

TEST_F(ChannelHandshake, OtherChannelTypesUseTheirOwnPortAndSectionAndNameNoVirtualSecondCard) {
    struct stTypeCase {
        int type;
        const char* section;
        const char* numberName;
        const char* nameName;
    };
    for (const stTypeCase& test : {stTypeCase{1, "Console", "ConsoleNo", "ConsoleName"},
                                   stTypeCase{2, "Computer", "ComputerNo", "ComputerName"}}) {
        SCOPED_TRACE(test.section);
        CTestChannel channel(static_cast<uint16_t>(m_server.Port() - test.type));
        channel.machine.adapters.push_back(
            TableAdapter("VMware Virtual Ethernet Adapter for VMnet8", kVmwareMac, "192.168.50.1"));
        ASSERT_TRUE(CEnvr().WriteInt(test.section, test.numberName, 5));

        auto peer =
            std::async(std::launch::async, [&] { return m_server.Handshake(31, 0x4004, "콘솔"); });
        channel.Start(test.type);
        const std::optional<CTestingServer::stHandshake> handshake = peer.get();
        ASSERT_TRUE(handshake.has_value());
        ASSERT_TRUE(FinishAttempt(channel));

        EXPECT_EQ(Field32(handshake->request, 36), static_cast<uint32_t>(test.type));
        EXPECT_EQ(Field32(handshake->request, HDR_UNIQUE_NO), 5u);
        EXPECT_EQ(Slice(handshake->request, 200, 32), Zeros(32));
        EXPECT_EQ(CEnvr().GetInt(test.section, test.numberName, -1), 31);
        EXPECT_EQ(CEnvr().GetString(test.section, test.nameName, "?"), "콘솔");
        EXPECT_EQ(CEnvr().GetInt("KIOSK", "KioskNo", -1), -1) << "the kiosk's number is untouched";
    }
}

TEST_F(ChannelHandshake, AnswerWhoseSizeFieldIsTooShortFails) {
    CTestChannel channel(m_server.Port());
    Bytes answer = BuildHandshakeAnswer({9, 0x3003, "X"});
    StoreLe32(&answer[HDR_SIZE], 107);

    auto peer = std::async(std::launch::async, [&] { return m_server.Handshake(answer); });
    channel.Start(0);
    EXPECT_FALSE(peer.get().has_value()) << "no confirmation follows";
    ASSERT_TRUE(FinishAttempt(channel));

    EXPECT_EQ(channel.IsAlive(), 0);
    EXPECT_EQ(channel.GetClientKey(), 0u);
    EXPECT_EQ(channel.GetUniqueNo(), 0u);
    EXPECT_EQ(CEnvr().GetInt("KIOSK", "KioskNo", -1), 0) << "read as its default: never stored";
    EXPECT_EQ(channel.States(), (std::vector<int>{0, 1, 0}));
}

TEST_F(ChannelHandshake, RefusalSendsTheNextConnectBackToPoolEntryZero) {
    // Entry 0 is this server; entry 1 would be next without the refusal.
    ASSERT_TRUE(CServerIpPool::WriteServerData(0, "127.0.0.1"));
    ASSERT_TRUE(CServerIpPool::WriteServerData(1, "127.0.0.2"));
    CTestChannel channel(m_server.Port());

    auto refusing = std::async(std::launch::async, [&] {
        return m_server.Accept() && m_server.Receive() &&
               m_server.Send(ServerPacket(CMD_HANDSHAKE_REFUSED, 36)) && !m_server.Receive();
    });
    channel.Start(0);
    EXPECT_TRUE(refusing.get());
    ASSERT_TRUE(FinishAttempt(channel));
    EXPECT_EQ(channel.States(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(CEnvr().GetInt("TCP/IP", "NextIndex", -5), 0);

    auto accepting = std::async(std::launch::async, [&] { return m_server.Handshake(3, 0x77); });
    EXPECT_EQ(channel.UserReconnect(), 1);
    EXPECT_TRUE(accepting.get().has_value());
    ASSERT_TRUE(FinishAttempt(channel));
    EXPECT_EQ(channel.GetCurServerIP(), "127.0.0.1");
    EXPECT_EQ(m_server.AcceptedCount(), 2);
}

TEST_F(ChannelHandshake, NoAdapterOrNoComputerNameFailsBeforeAnythingIsSent) {
    for (const bool withoutAdapter : {true, false}) {
        SCOPED_TRACE(withoutAdapter ? "no adapter" : "no computer name");
        CTestChannel channel(m_server.Port());
        if (withoutAdapter) {
            channel.machine.adapters.clear();
        } else {
            channel.machine.computerName.clear();
        }
        auto peer = std::async(std::launch::async,
                               [&] { return m_server.Accept() && !m_server.Receive(); });
        channel.Start(0);
        EXPECT_TRUE(peer.get()) << "connected, then closed without a byte";
        ASSERT_TRUE(FinishAttempt(channel));
        EXPECT_EQ(channel.IsAlive(), 0);
        EXPECT_EQ(channel.States(), (std::vector<int>{0, 1})) << "no further notification";
    }
}

TEST_F(ChannelReceive, ContainerDeliversItsPacketsUpToTheFirstMalformedOne) {
    CTestChannel channel(m_server.Port());
    Connect(channel, 7, 0x1001);

    Bytes first = ServerPacket(901, 40);
    first[36] = 0x5A;
    Bytes second = ServerPacket(902, 40);
    StoreLe32(&second[HDR_SIZE], 20);
    ASSERT_TRUE(m_server.Send(ContainerPacket({first, second, ServerPacket(903, 40)})));
    // A tail shorter than a header after a good packet is not read.
    Bytes shortTail = ContainerPacket({ServerPacket(904, 36)});
    shortTail.insert(shortTail.end(), 20, 0x36);
    ASSERT_TRUE(m_server.Send(shortTail));
    Bytes badMagic = ServerPacket(905, 36);
    StoreLe32(&badMagic[HDR_MAGIC], 0x1234);
    ASSERT_TRUE(m_server.Send(ContainerPacket({badMagic, ServerPacket(906, 36)})));
    ASSERT_TRUE(m_server.Send(Bytes(10, 0x01))) << "a message shorter than a header is dropped";
    ASSERT_TRUE(m_server.Send(ServerPacket(999, 36)));

    ASSERT_TRUE(PumpUntil([&] { return channel.ParsedCommands().size() == 3; }));
    EXPECT_EQ(channel.ParsedCommands(), (std::vector<uint32_t>{901, 904, 999}));
    EXPECT_EQ(channel.Parsed()[0], first);
    EXPECT_EQ(channel.IsAlive(), 1) << "bad contents do not cost the connection";
}

TEST_F(ChannelReceive, PacketsGoToTheirClientBySequenceElseByServiceKeyElseToParsePacket) {
    CTestChannel channel(m_server.Port());
    Connect(channel, 7, 0x1001);
    CNetClient older(&channel, SERVICE_KIOSK);
    CNetClient younger(&channel, SERVICE_KIOSK);
    CNetClient other(&channel, 5);
    for (const CNetClient* client : {&older, &younger, &other}) {
        const std::optional<Bytes> opened = m_server.Receive();
        ASSERT_TRUE(opened.has_value());
        EXPECT_EQ(Field32(*opened, HDR_COMMAND), CMD_CLIENT_OPEN);
        EXPECT_EQ(Field32(*opened, HDR_SENDER_CLIENT_KEY), 0x1001u);
        EXPECT_EQ(Field32(*opened, HDR_SENDER_SEQUENCE), client->GetSequence());
        EXPECT_EQ(Field32(*opened, HDR_SERVICE_KEY), client->GetServiceKey());
        EXPECT_EQ(Field32(*opened, HDR_UNIQUE_NO), 7u);
    }
    EXPECT_EQ(older.GetSequence(), 2u) << "the first number handed out";
    EXPECT_EQ(younger.GetSequence(), 3u);

    ASSERT_TRUE(m_server.Send(ServerPacket(801, 36, 0x1001, younger.GetSequence(), 5)));
    ASSERT_TRUE(m_server.Send(ServerPacket(802, 36, 0x1001, 0, SERVICE_KIOSK)));
    ASSERT_TRUE(m_server.Send(ServerPacket(803, 36, 0x1001, 0, 5)));
    ASSERT_TRUE(m_server.Send(ServerPacket(804, 36, 0x1001, 999, SERVICE_KIOSK)))
        << "a sequence that matches no client does not fall back to the service key";
    ASSERT_TRUE(m_server.Send(ServerPacket(805, 36, 0x1001, 0, 0)));
    ASSERT_TRUE(m_server.Send(ServerPacket(806, 36, 0x2002, older.GetSequence(), 0)))
        << "addressed to another channel";
    ASSERT_TRUE(m_server.Send(ServerPacket(CMD_NOP, 36, 0x1001, 0, SERVICE_KIOSK)));
    ASSERT_TRUE(m_server.Send(ServerPacket(999, 36)));

    ASSERT_TRUE(PumpUntil([&] { return channel.ParsedCommands().size() == 4; }));
    EXPECT_EQ(channel.ParsedCommands(), (std::vector<uint32_t>{804, 805, 806, 999}));
    const auto commandOf = [](CNetClient& client) {
        std::unique_ptr<CQueueData> packet = client.GetData();
        return packet ? packet->GetCommand() : 0;
    };
    EXPECT_EQ(commandOf(younger), 801u);
    EXPECT_EQ(commandOf(older), 802u);
    EXPECT_EQ(commandOf(other), 803u);
    for (CNetClient* client : {&older, &younger, &other}) {
        EXPECT_EQ(client->IsEmpty(), 1);
    }
}

TEST_F(ChannelReceive, ServerMessageBoxIsShownWithinThePacketAndConsumed) {
    CTestChannel channel(m_server.Port());
    Connect(channel);
    Bytes box = ServerPacket(CMD_MESSAGE_BOX, 300);
    WriteTextField(std::span(box).subspan(36, 128), "공지");
    WriteTextField(std::span(box).subspan(164, 136), "점검 예정입니다");
    ASSERT_TRUE(m_server.Send(box));
    // Caption bytes run to the end of a short packet; there is no text.
    Bytes shortBox = ServerPacket(CMD_MESSAGE_BOX, 38);
    shortBox[36] = 'O';
    shortBox[37] = 'K';
    ASSERT_TRUE(m_server.Send(ContainerPacket({shortBox, ServerPacket(999, 36)})));

    ASSERT_TRUE(PumpUntil([&] { return !channel.Parsed().empty(); }));
    EXPECT_EQ(channel.ParsedCommands(), (std::vector<uint32_t>{999}));
    const std::vector<CRecordingMessageBox::stBox> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "공지");
    EXPECT_EQ(boxes[0].text, "점검 예정입니다");
    EXPECT_EQ(boxes[1].caption, "OK");
    EXPECT_EQ(boxes[1].text, "");
}

TEST_F(ChannelLink, PingGoesOutOnlyAfterAWholeIntervalWithoutSends) {
    CTestChannel channel(m_server.Port());
    channel.SetIntervalPing(60000);
    EXPECT_EQ(channel.GetIntervalPing(), kMinPingIntervalMs) << "never below five minutes";
    Connect(channel, 7, 0x1001);
    const Bytes report = ServerPacket(515, 40);

    ASSERT_EQ(channel.SendPacket(report.data(), 40), IO_OK);
    CLoopClock::Advance(200000);
    PumpMessagesFor(0);
    ASSERT_EQ(channel.SendPacket(report.data(), 40), IO_OK);
    CLoopClock::Advance(299999);
    PumpMessagesFor(0);
    EXPECT_TRUE(channel.Timers().empty()) << "each send re-arms the ping";
    CLoopClock::Advance(1);
    PumpMessagesFor(0);
    EXPECT_EQ(channel.Timers(), (std::vector<WPARAM>{kPingTimerId}));

    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Field32(m_server.Receive().value_or(Bytes{}), HDR_COMMAND), 515u);
    }
    const std::optional<Bytes> ping = m_server.Receive();
    ASSERT_TRUE(ping.has_value());
    EXPECT_EQ(ping->size(), kPacketHeaderSize);
    EXPECT_EQ(Field32(*ping, HDR_COMMAND), CMD_PING);
    EXPECT_EQ(Field32(*ping, HDR_SENDER_CLIENT_KEY), 0x1001u);
    EXPECT_EQ(Field32(*ping, HDR_UNIQUE_NO), 7u);

    CLoopClock::Advance(kMinPingIntervalMs);
    PumpMessagesFor(0);
    EXPECT_EQ(channel.Timers().size(), 2u) << "the ping's own send re-arms it";
}

TEST_F(ChannelLink, SendWithoutConnectionFailsAndLeavesThePingTimerAlone) {
    CTestChannel channel(m_server.Port());
    const Bytes report = ServerPacket(515, 40);
    EXPECT_EQ(channel.SendPacket(report.data(), 40), IO_NOT_CONNECTED);
    EXPECT_EQ(channel.SendPing(), IO_NOT_CONNECTED);
    CLoopClock::Advance(10 * kMinPingIntervalMs);
    PumpMessagesFor(0);
    EXPECT_TRUE(channel.Timers().empty());
}

TEST_F(ChannelLink, ReconnectsOneIntervalAfterTheServerDropsTheConnection) {
    CTestChannel channel(m_server.Port());
    channel.SetIntervalReconnect(60000);
    Connect(channel, 7, 0x1001);
    channel.ForgetRecords();

    m_server.Drop();
    ASSERT_TRUE(PumpUntil([&] { return channel.IsAlive() == 0; }))
        << "the worker notices the closed socket and the failed read closes the connection";
    EXPECT_EQ(channel.States(), (std::vector<int>{0, 0}));

    auto peer = std::async(std::launch::async, [&] { return m_server.Handshake(8, 0x2002); });
    CLoopClock::Advance(59999);
    PumpMessagesFor(0);
    EXPECT_TRUE(channel.Timers().empty());
    CLoopClock::Advance(1);
    PumpMessagesFor(0);
    EXPECT_EQ(channel.Timers(), (std::vector<WPARAM>{kReconnectTimerId}));
    ASSERT_TRUE(peer.get().has_value());
    ASSERT_TRUE(FinishAttempt(channel));
    EXPECT_EQ(channel.IsAlive(), 1);
    EXPECT_EQ(channel.GetClientKey(), 0x2002u);

    ASSERT_TRUE(m_server.Send(ServerPacket(999, 36)));
    EXPECT_TRUE(PumpUntil([&] { return channel.ParsedCommands().size() == 1; }))
        << "the worker runs again";
}

TEST_F(ChannelLink, UserDisconnectClosesAndStopsReconnecting) {
    CTestChannel channel(m_server.Port());
    channel.SetIntervalReconnect(60000);
    channel.machine.adapters.clear();
    auto peer = std::async(std::launch::async, [&] { return m_server.Accept(); });
    EXPECT_EQ(channel.UserReconnect(), 1) << "the attempt starts; it fails on its own thread";
    EXPECT_TRUE(peer.get());
    ASSERT_TRUE(FinishAttempt(channel));

    channel.UserDisconnect();
    CLoopClock::Advance(60000);
    PumpMessagesFor(0);
    EXPECT_TRUE(channel.Timers().empty()) << "the reconnect timer was killed";
    EXPECT_EQ(channel.States().back(), CHANNEL_CLOSED);
}

}  // namespace

}  // namespace hx
