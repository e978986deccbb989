// The socket object over real loopback connections.
#include "net/io_packet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "net/io_limits.h"
#include "net/lock_obj.h"
#include "net/log.h"
#include "net/message_header.h"
#include "net/net_log.h"
#include "net/packet_header.h"
#include "net/socket_wait.h"
#include "net/socket_waiter.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"
#include "tests/support/test_random.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

// Compressible only now and then.
Bytes FewSymbols(size_t length, uint32_t seed) {
    return CTestRandom(seed).Bytes(length, 16);
}

class IOPacket : public ::testing::Test {
protected:
    void SetUp() override {
        m_drive.MakeFolder("Program Files/Harlix");
        stIoTimeLimits limits;
        limits.writableWaitMs = 20;  // drain early: big crossing sends finish quickly
        limits.connectRetryMs = 1;
        SetIoTimeLimits(limits);
    }

    void TearDown() override {
        SetIoTimeLimits(stIoTimeLimits{});
        CLockObj::SetWaitLimit(CLockObj::kDefaultWaitMs);
    }

    // A listener on a free loopback port and a client connected to it.
    struct stPair {
        std::unique_ptr<CIOPacket> listener;
        std::unique_ptr<CIOPacket> client;
        std::unique_ptr<CIOPacket> server;
    };

    static stPair Connected(const char* clientHost = "127.0.0.1") {
        stPair pair;
        pair.listener = std::make_unique<CIOPacket>("127.0.0.1", 0);
        EXPECT_EQ(pair.listener->Listen("127.0.0.1"), 1);
        auto port = static_cast<uint16_t>(pair.listener->GetLocalPort());
        pair.client = std::make_unique<CIOPacket>(clientHost, port);
        pair.client->AddExtOption(IOEXT_NOPING);
        EXPECT_EQ(pair.client->Connect(1), IO_OK);
        pair.server = pair.listener->Accept();  // connect returned: it is queued
        EXPECT_NE(pair.server, nullptr);
        return pair;
    }

    CTempDrive m_drive;
};

TEST_F(IOPacket, HeaderOnlyPacketArrivesAndIsCounted) {
    stPair pair = Connected();
    Bytes packet(kPacketHeaderSize);
    InitPacketHeader(packet, CMD_PING);
    uint32_t totalBefore = CIOPacket::GetTotTxPerf(PERF_BLOCKS);

    ASSERT_EQ(pair.client->Send(packet.data(), static_cast<int>(packet.size())), IO_OK);
    uint8_t* received = nullptr;
    int length = 0;
    ASSERT_EQ(pair.server->Receive(&received, &length), IO_OK);
    ASSERT_EQ(length, 36);
    EXPECT_TRUE(std::equal(packet.begin(), packet.end(), received));
    EXPECT_EQ(received[36], 0);
    FreeReceiveBuffer(received);

    EXPECT_EQ(pair.client->GetTxPerf(PERF_BLOCKS), 1u);
    EXPECT_EQ(pair.client->GetTxPerf(PERF_RAW_BYTES), 72u);
    EXPECT_EQ(pair.server->GetRxPerf(PERF_WIRE_BYTES), pair.client->GetTxPerf(PERF_WIRE_BYTES));
    EXPECT_GE(CIOPacket::GetTotTxPerf(PERF_BLOCKS) - totalBefore, 1u);
}

TEST_F(IOPacket, CrossingLargeSendsBothCompleteIntact) {
    // Far larger than the kiosk's messages, so both sends fill the socket buffers.
    struct CLargeMessages {
        CLargeMessages() { SetMaxMessageBytes(8 << 20); }
        ~CLargeMessages() { SetMaxMessageBytes(0); }
    } largeMessages;
    stPair pair = Connected();
    const Bytes toServer = FewSymbols(6 << 20, 1);
    const Bytes toClient = FewSymbols(5 << 20, 2);
    Bytes atServer;
    Bytes atClient;
    auto exchange = [](CIOPacket& io, const Bytes& out, Bytes& in, int& sendResult,
                       int& receiveResult) {
        sendResult = io.Send(out.data(), static_cast<int>(out.size()));
        uint8_t* buffer = nullptr;
        int length = 0;
        receiveResult = io.Receive(&buffer, &length);
        if (receiveResult == IO_OK) {
            in.assign(buffer, buffer + length);
        }
        FreeReceiveBuffer(buffer);
    };
    int clientSend = 0, clientReceive = 0, serverSend = 0, serverReceive = 0;
    std::thread client(
        [&] { exchange(*pair.client, toServer, atClient, clientSend, clientReceive); });
    std::thread server(
        [&] { exchange(*pair.server, toClient, atServer, serverSend, serverReceive); });
    client.join();
    server.join();
    EXPECT_EQ(clientSend, IO_OK);
    EXPECT_EQ(serverSend, IO_OK);
    ASSERT_EQ(clientReceive, IO_OK);
    ASSERT_EQ(serverReceive, IO_OK);
    EXPECT_TRUE(atServer == toServer);
    EXPECT_TRUE(atClient == toClient);
}

TEST_F(IOPacket, ReceiveRefusesWhatWasNotAskedFor) {
    stPair pair = Connected();
    Bytes message(120, 9);
    ASSERT_EQ(pair.client->Send(message.data(), 120), IO_OK);
    Bytes hundred(100);
    EXPECT_EQ(pair.server->Receive(hundred.data(), 100), IO_ERROR);

    pair.server->SetBlockMode(false);
    uint8_t* buffer = nullptr;
    int length = 0;
    EXPECT_EQ(pair.server->Receive(&buffer, &length), IO_ERROR);
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(IOPacket, DecodedBytesLeftInABlockCountAsReady) {
    // A peer that packs two messages into one block: both must be delivered,
    // although after the first the socket itself has nothing waiting.
    stPair pair = Connected();
    Bytes twoMessages;
    for (uint8_t fill : {0x11, 0x22}) {
        uint8_t header[kMessageHeaderSize];
        PackMessageHeader(40, header);
        twoMessages.insert(twoMessages.end(), header, header + sizeof header);
        twoMessages.insert(twoMessages.end(), 40, fill);
    }
    pair.client->SetBlockMode(false);
    ASSERT_EQ(pair.client->Send(twoMessages.data(), static_cast<int>(twoMessages.size())), IO_OK);
    Bytes message(40);
    ASSERT_EQ(pair.server->Receive(message.data(), 40), IO_OK);
    EXPECT_EQ(message, Bytes(40, 0x11));
    EXPECT_EQ(pair.server->ReadReady(), 60);
    ASSERT_EQ(pair.server->ReceiveExact(message.data(), 40), 1);
    EXPECT_EQ(message, Bytes(40, 0x22));
}

TEST_F(IOPacket, AddressesOfBothEnds) {
    stPair pair = Connected("localhost");  // a name, found without any lookup traffic
    char text[32];
    ASSERT_EQ(pair.server->GetPeerName(text, sizeof text), 1);
    EXPECT_STREQ(text, "127.0.0.1");
    ASSERT_EQ(pair.client->GetSockName(text, sizeof text), 1);
    EXPECT_STREQ(text, "127.0.0.1");
    EXPECT_EQ(pair.server->GetOption(), CIOPacket::GetDefaultOption());
}

TEST_F(IOPacket, AddressSizesThatCannotHoldTheTextWriteNothing) {
    stPair pair = Connected();
    const int fits = sizeof "127.0.0.1";
    for (int size : {-1, -100, 0, 4, fits - 1, fits}) {
        for (bool peer : {true, false}) {
            char area[64];
            std::memset(area, '#', sizeof area);
            int result =
                peer ? pair.client->GetPeerName(area, size) : pair.client->GetSockName(area, size);
            if (size == fits) {
                EXPECT_EQ(result, 1);
                EXPECT_STREQ(area, "127.0.0.1");
            } else {
                EXPECT_EQ(result, 0) << "size " << size;
                EXPECT_EQ(std::string(area, sizeof area), std::string(sizeof area, '#'))
                    << "size " << size << (peer ? " peer" : " own");
            }
        }
    }
}

TEST_F(IOPacket, ReconnectedObjectHandsOutOnlyTheNewPeersBytes) {
    stPair old = Connected();
    old.client->SetBlockMode(false);
    old.server->SetBlockMode(false);
    const Bytes stale(100, 0xEE);
    for (int block = 0; block < 2; ++block) {
        ASSERT_EQ(old.server->Send(stale.data(), static_cast<int>(stale.size())), IO_OK);
    }
    Bytes part(40);
    ASSERT_EQ(old.client->Receive(part.data(), static_cast<int>(part.size())), IO_OK);
    ASSERT_GT(old.client->ReadReady(), 0) << "the rest of the first block waits decoded";

    // The same object, host and port, reaching a new listener there.
    const auto port = static_cast<uint16_t>(old.listener->GetLocalPort());
    old.client->Close();
    old.server.reset();
    old.listener.reset();
    CIOPacket listener("127.0.0.1", port);
    ASSERT_EQ(listener.Listen("127.0.0.1"), 1);
    ASSERT_EQ(old.client->Connect(1), IO_OK);
    std::unique_ptr<CIOPacket> fresh = listener.Accept();
    ASSERT_NE(fresh, nullptr);
    fresh->SetBlockMode(false);
    const Bytes news = {0x4E, 0x45, 0x57, 0x01, 0x02, 0x03};
    ASSERT_EQ(fresh->Send(news.data(), static_cast<int>(news.size())), IO_OK);
    Bytes received(news.size());
    ASSERT_EQ(old.client->Receive(received.data(), static_cast<int>(received.size())), IO_OK);
    EXPECT_EQ(received, news);
}

TEST_F(IOPacket, LivenessThroughAnOrderlyClose) {
    CIOPacket never("127.0.0.1", 1);
    EXPECT_EQ(never.IsAlive(), 0);
    EXPECT_EQ(never.GetSocket(), -1);

    stPair pair = Connected();
    EXPECT_EQ(pair.client->IsAlive(), 1);
    EXPECT_EQ(pair.client->ReadReady(), 0);
    pair.server.reset();                   // closes
    EXPECT_EQ(pair.client->IsAlive(), 1);  // until a read sees the end
    uint8_t byte = 0;
    EXPECT_EQ(pair.client->Receive(&byte, 1), IO_CLOSED);
}

TEST_F(IOPacket, WaiterEndsOnInputOnAWakeOrOnTime) {
    stPair pair = Connected();
    const intptr_t server = pair.server->GetSocket();
    CSocketWaiter waiter;
    EXPECT_EQ(waiter.Wait(server, 0), enumSocketWait::TimedOut);

    // Woken from another thread while it waits, with no time limit in sight.
    auto woken = std::async(std::launch::async, [&] { return waiter.Wait(server, 600000); });
    waiter.Wake();
    ASSERT_EQ(woken.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(woken.get(), enumSocketWait::Woken);

    // Wakes that came before a wait end that one only.
    waiter.Wake();
    waiter.Wake();
    EXPECT_EQ(waiter.Wait(server, 600000), enumSocketWait::Woken);
    EXPECT_EQ(waiter.Wait(server, 0), enumSocketWait::TimedOut);
    waiter.Wake();
    EXPECT_EQ(waiter.Wait(-1, 600000), enumSocketWait::Woken) << "no socket: wakes only";
    EXPECT_EQ(waiter.Wait(-1, 0), enumSocketWait::TimedOut);

    const Bytes message(8, 1);
    ASSERT_EQ(pair.client->Send(message.data(), 8), IO_OK);
    waiter.Wake();
    EXPECT_EQ(waiter.Wait(server, 600000), enumSocketWait::Readable) << "input wins";

    // A listening socket is readable while a connection waits to be accepted.
    CIOPacket waiting("127.0.0.1", static_cast<uint16_t>(pair.listener->GetLocalPort()));
    waiting.AddExtOption(IOEXT_NOPING);
    ASSERT_EQ(waiting.Connect(1), IO_OK);
    EXPECT_EQ(waiter.Wait(pair.listener->GetSocket(), 600000), enumSocketWait::Readable);
}

TEST_F(IOPacket, ShutdownEndsASendAndAReceiveThatWaitForThePeer) {
    stIoTimeLimits patient;
    patient.idleReadMs = patient.receiveMs = 600000;
    SetIoTimeLimits(patient);
    stPair sending = Connected();    // its client never reads
    stPair receiving = Connected();  // its server never sends
    // Taken first: the blocked operations hold the objects' locks.
    const intptr_t sender = sending.server->GetSocket();
    const intptr_t receiver = receiving.client->GetSocket();
    const Bytes large = RandomBytes(1 << 20, 3);
    auto send = std::async(std::launch::async, [&] {
        int result = IO_OK;
        while (result == IO_OK) {
            result = sending.server->Send(large.data(), static_cast<int>(large.size()));
        }
        return result;
    });
    auto receive = std::async(std::launch::async, [&] {
        uint8_t byte = 0;
        return receiving.client->Receive(&byte, 1);
    });
    ShutdownSocket(sender);
    ShutdownSocket(receiver);
    ASSERT_EQ(send.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    ASSERT_EQ(receive.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_NE(send.get(), IO_OK);
    EXPECT_EQ(receive.get(), IO_CLOSED);
    EXPECT_EQ(sending.server->GetSocket(), sender) << "the descriptor stays until Close";
}

TEST_F(IOPacket, ConnectRefusesBadAddressesWithoutTouchingTheNetwork) {
    CIOPacket shortHost("a.b.c", 12001);
    EXPECT_EQ(shortHost.Connect(3), IO_BAD_ADDRESS);
    EXPECT_EQ(shortHost.GetSocket(), -1);
    EXPECT_EQ(shortHost.IsFail(), 0);

    for (const char* host : {"0.0.0.0", "255.255.255.255"}) {
        CIOPacket bad(host, 12001);
        EXPECT_EQ(bad.Connect(1), IO_BAD_ADDRESS) << host;
        EXPECT_EQ(bad.IsFail(), 1) << host;
    }
}

TEST_F(IOPacket, ConnectToAClosedPortFailsAfterItsAttempts) {
    uint16_t port = 0;
    {
        CIOPacket probe("127.0.0.1", 0);
        ASSERT_EQ(probe.Listen("127.0.0.1"), 1);
        port = static_cast<uint16_t>(probe.GetLocalPort());
    }
    CIOPacket client("127.0.0.1", port);
    client.AddExtOption(IOEXT_NOPING);
    EXPECT_EQ(client.Connect(2), IO_CONNECT_FAILED);
    EXPECT_EQ(client.IsFail(), 1);
    EXPECT_EQ(client.GetSocket(), -1);
    EXPECT_EQ(CIOPacket("127.0.0.1", 0).Listen("not an address"), 0);
}

TEST_F(IOPacket, TracedCallsReachTheTransportLogOnlyBeforeAFailure) {
    stPair pair = Connected();  // the accepted end traces
    const Bytes packet = {0x78, 0x56, 0x00, 0x00, 0x01, 0x02};
    ASSERT_EQ(pair.server->Send(packet.data(), static_cast<int>(packet.size())), IO_OK);
    ASSERT_EQ(pair.client->Send(packet.data(), static_cast<int>(packet.size())), IO_OK);
    const std::filesystem::path file = CLog::DiagnosticFolder() / "HxNet.log";
    EXPECT_EQ(ReadWholeFile(file).find("Send(0x"), std::string::npos) << "no write for each call";

    Bytes wrongLength(5);
    EXPECT_EQ(pair.server->Receive(wrongLength.data(), 5), IO_ERROR);
    const std::string log = ReadWholeFile(file);
    EXPECT_NE(log.find(", 6)\r\n\t78560000 0102\r\nReceive(5) failed"), std::string::npos) << log;
    EXPECT_EQ(log.find("Send(0x"), log.rfind("Send(0x")) << "the untraced client's send is not there";
}

TEST_F(IOPacket, OperationsGiveUpWhenTheLockWaitRunsOut) {
    stPair pair = Connected();
    stIoTimeLimits patient;
    patient.receiveMs = 60000;
    SetIoTimeLimits(patient);
    int blockedResult = 0;
    Bytes byte(1);
    std::thread receiver([&] { blockedResult = pair.client->Receive(byte.data(), 1); });

    CLockObj::SetWaitLimit(20);
    while (pair.client->GetOption() != 0) {  // 0 only once the receiver holds the lock
        std::this_thread::yield();
    }
    EXPECT_EQ(pair.client->Send(byte.data(), 1), IO_ERROR);
    EXPECT_EQ(pair.client->IsAlive(), 0);
    std::string record = ReadWholeFile(CLog::DiagnosticFolder() / "Mutex.log");
    EXPECT_NE(record.find("io_packet.cpp"), std::string::npos) << record;

    CLockObj::SetWaitLimit(CLockObj::kDefaultWaitMs);
    ASSERT_EQ(pair.server->Send(byte.data(), 1), IO_OK);
    receiver.join();
    EXPECT_EQ(blockedResult, IO_OK);
}

TEST_F(IOPacket, WithoutTransportEveryOperationFailsCleanly) {
    CIOPacket empty(nullptr);
    uint8_t byte = 0;
    EXPECT_EQ(empty.Send(&byte, 1), IO_NO_TRANSPORT);
    EXPECT_EQ(empty.Receive(&byte, 1), IO_NO_TRANSPORT);
    EXPECT_EQ(empty.Connect(), IO_NO_TRANSPORT);
    EXPECT_EQ(empty.SendExact(&byte, 1), 0);
    EXPECT_EQ(empty.GetSocket(), -1);
    EXPECT_EQ(empty.GetTxPerf(PERF_BLOCKS), 0u);
    EXPECT_EQ(empty.Accept(), nullptr);
}

TEST_F(IOPacket, DefaultOptionWordAppliesToNewObjectsAndRefusesLoneZlib) {
    EXPECT_FALSE(CIOPacket::SetDefaultOption(IOOPT_ZLIB));
    ASSERT_TRUE(CIOPacket::SetDefaultOption(0x1F));
    CIOPacket zlib("127.0.0.1", 1);
    ASSERT_TRUE(CIOPacket::SetDefaultOption(IOOPT_DEFAULT));
    EXPECT_EQ(zlib.GetOption(), 0x1Fu);
    EXPECT_EQ(CIOPacket("127.0.0.1", 1).GetOption(), IOOPT_DEFAULT);
}

TEST(HexDump, FirstFiftyBytesInGroupsOfFour) {
    Bytes bytes(60);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 17);
    }
    std::string dump = HexDump(bytes.data(), bytes.size());
    EXPECT_EQ(dump.substr(0, 18), "00112233 44556677 ");
    EXPECT_EQ(dump.size(), 50u * 2 + 12);  // 12 full groups of four
    EXPECT_EQ(HexDump(bytes.data(), 3), "001122");
}

}  // namespace

}  // namespace hx
