// Request clients over a channel to a server on loopback: waits, failure
// answers, time-outs, the progress window and the client's own requests.
#include "channel/net_client.h"

#include <gtest/gtest.h>

#include "channel/net_client_progress.h"
#include "channel/testing_channel.h"
#include "platform/fixed_field.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

constexpr const char* kTimeOutCaption = "작업 시간 초과";
constexpr const char* kTimeOutText =
    "서버로부터 제한시간 동안 응답을 받지 못했습니다.\n\n작업을 재시도 해주시기 바랍니다.";

class RequestClient : public CChannelTest {
protected:
    void SetUp() override {
        CChannelTest::SetUp();
        CNetClient::SetLimitSecond(30);
        CNetClient::SetShowProgress(0);
        CNetClient::SetTimeOutMsg(0);
    }
    void TearDown() override {
        CNetClient::SetLimitSecond(30);
        CNetClient::SetShowProgress(0);
        CNetClient::SetTimeOutMsg(0);
        CChannelTest::TearDown();
    }

    // A connected channel whose server has taken the client's opening packet.
    void ConnectWithClient(CTestChannel& channel, std::unique_ptr<CNetClient>& client,
                           SERVICEKEY serviceKey = SERVICE_KIOSK) {
        Connect(channel, 7, kClientKey);
        client = std::make_unique<CNetClient>(&channel, serviceKey);
        ASSERT_EQ(Field32(m_server.Receive().value_or(Bytes{}), HDR_COMMAND), CMD_CLIENT_OPEN);
    }

    Bytes AnswerTo(const CNetClient& client, uint32_t command, size_t size) const {
        return ServerPacket(command, size, kClientKey, client.GetSequence(),
                            client.GetServiceKey());
    }

    static constexpr uint32_t kClientKey = 0x1001;
};

TEST_F(RequestClient, FailureAnswerEndsTheWaitWithNullAndTheCommandOut) {
    CTestChannel channel(m_server.Port());
    std::unique_ptr<CNetClient> client;
    ConnectWithClient(channel, client);

    for (const uint32_t failure : {0xFFFFFFFEu, 0xFFFFFFFFu}) {
        ASSERT_TRUE(m_server.Send(AnswerTo(*client, failure, 36)));
        const CClockWatchdog watchdog;
        uint32_t command = 12345;
        EXPECT_EQ(client->_WaitPacket(static_cast<enumCommand>(602), &command), nullptr);
        EXPECT_EQ(command, failure);
    }
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(RequestClient, WaitReturnsWhateverArrivesAndMovesItOut) {
    CTestChannel channel(m_server.Port());
    std::unique_ptr<CNetClient> client;
    ConnectWithClient(channel, client);
    Bytes answer = AnswerTo(*client, 9, 48);
    answer[47] = 0x77;
    ASSERT_TRUE(m_server.Send(answer));

    const CClockWatchdog watchdog;
    CQueueData out;
    uint32_t command = 0;
    EXPECT_EQ(client->WaitPacket(out, static_cast<enumCommand>(515), 1, &command), 1)
        << "the awaited command is the caller's to check";
    EXPECT_EQ(command, 9u);
    ASSERT_EQ(out.GetLength(), 48);
    EXPECT_TRUE(std::equal(answer.begin(), answer.end(), out.GetData()));
}

TEST_F(RequestClient, ZeroLimitTimesOutAtOnceWithTheBoxOnlyWhenAskedFor) {
    CNetClient client(nullptr, SERVICE_KIOSK);
    CNetClient::SetLimitSecond(0);
    client.AddData(std::make_unique<CQueueData>(ServerPacket(9, 36).data(), 36));

    uint32_t command = 1;
    EXPECT_EQ(client._WaitPacket(CMD_RETURN_CODE, &command), nullptr);
    EXPECT_EQ(command, 0u);
    EXPECT_TRUE(m_boxes.Boxes().empty());

    CNetClient::SetTimeOutMsg(1);
    EXPECT_EQ(client._WaitPacket(CMD_RETURN_CODE), nullptr);
    const std::vector<CRecordingMessageBox::stBox> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, kTimeOutCaption);
    EXPECT_EQ(boxes[0].text, kTimeOutText);
    EXPECT_EQ(client.IsEmpty(), 0) << "a timed-out wait takes nothing";
}

TEST_F(RequestClient, ChannelThatIsNotAliveEndsTheWaitAtOnceWithoutBox) {
    CTestChannel channel(m_server.Port());
    CNetClient client(&channel, SERVICE_KIOSK);
    CNetClient::SetTimeOutMsg(1);
    EXPECT_EQ(client._WaitPacket(CMD_RETURN_CODE), nullptr);
    EXPECT_TRUE(m_boxes.Boxes().empty());
    EXPECT_EQ(client.SendPacket(ServerPacket(515, 36).data(), 36), 0);
}

TEST_F(RequestClient, UnsequencedAnswerLandsInTheOlderOfTwoClientsWithOneServiceKey) {
    CTestChannel channel(m_server.Port());
    std::unique_ptr<CNetClient> older;
    ConnectWithClient(channel, older);
    CNetClient younger(&channel, SERVICE_KIOSK);
    ASSERT_TRUE(m_server.Send(ServerPacket(602, 40, kClientKey, 0, SERVICE_KIOSK)));

    const CClockWatchdog watchdog;
    std::unique_ptr<CQueueData> answer = older->_WaitPacket(static_cast<enumCommand>(602));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->GetCommand(), 602u);
    EXPECT_EQ(younger.IsEmpty(), 1);
}

TEST_F(RequestClient, ReturnCodeNeedsAWholeRecordOfItsCommand) {
    CTestChannel channel(m_server.Port());
    std::unique_ptr<CNetClient> client;
    ConnectWithClient(channel, client);
    const CClockWatchdog watchdog;
    stReturnCode record;
    record.returnCode = 55;
    record.data.fill(0xAB);

    ASSERT_TRUE(m_server.Send(AnswerTo(*client, CMD_RETURN_CODE, 200)));
    EXPECT_EQ(client->WaitReturnCode(&record), kNoReturnCode);
    EXPECT_EQ(record.header.command, 0u);
    EXPECT_EQ(record.returnCode, 0);
    EXPECT_EQ(record.data, decltype(record.data){}) << "the record is left zeroed";

    Bytes answer = AnswerTo(*client, CMD_RETURN_CODE, 300);
    StoreLe32(&answer[36], static_cast<uint32_t>(-3));
    answer[40] = 0x11;
    answer[295] = 0x22;
    answer[296] = 0x33;
    ASSERT_TRUE(m_server.Send(answer));
    EXPECT_EQ(client->WaitReturnCode(&record), -3);
    EXPECT_EQ(record.header.size, 300u);
    EXPECT_EQ(record.data[0], 0x11);
    EXPECT_EQ(record.data[255], 0x22);

    ASSERT_TRUE(m_server.Send(AnswerTo(*client, CMD_SERVICE_KEY, 296)));
    EXPECT_EQ(client->WaitReturnCode(&record), kNoReturnCode);
    EXPECT_EQ(record.header.command, CMD_SERVICE_KEY) << "copied, then refused";
}

TEST_F(RequestClient, NewServiceKeyIsAskedForAndTakenFromTheAnswer) {
    CTestChannel channel(m_server.Port());
    std::unique_ptr<CNetClient> client;
    ConnectWithClient(channel, client);
    auto server = std::async(std::launch::async, [&] {
        std::optional<Bytes> request = m_server.Receive();
        Bytes answer = AnswerTo(*client, CMD_SERVICE_KEY, 232);
        StoreLe32(&answer[HDR_SERVICE_KEY], 77);
        m_server.Send(answer);
        return request.value_or(Bytes{});
    });
    const CClockWatchdog watchdog;
    EXPECT_EQ(client->ReqNewService(static_cast<enumService>(4), "예약", "B"), 77u);

    const Bytes request = server.get();
    ASSERT_EQ(request.size(), 232u);
    EXPECT_EQ(Field32(request, HDR_COMMAND), CMD_SERVICE_KEY);
    EXPECT_EQ(Field32(request, HDR_SENDER_SEQUENCE), client->GetSequence());
    EXPECT_EQ(Field32(request, HDR_SERVICE_KEY), SERVICE_KIOSK);
    EXPECT_EQ(Field32(request, 40), 4u);
    EXPECT_EQ(ReadTextField(std::span(request).subspan(104, 64)), "예약");
    EXPECT_EQ(ReadTextField(std::span(request).subspan(168, 64)), "B");

    ASSERT_TRUE(m_server.Send(AnswerTo(*client, CMD_SERVICE_KEY, 100)));
    EXPECT_EQ(client->ReqNewService(static_cast<enumService>(4), "", ""), 0u)
        << "an answer shorter than the request gives no key";
}

TEST_F(RequestClient, ClientWithAWindowGetsItsPacketsAsMessagesAtOnce) {
    CTestChannel channel(m_server.Port());
    Connect(channel, 7, kClientKey);
    CRecordingWnd window;
    Bytes seen;
    window.onMessage = [&seen](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == kClientPacketMessage) {
            const auto* packet = reinterpret_cast<const uint8_t*>(wParam);
            seen.assign(packet, packet + lParam);
        }
        return 5;
    };
    CNetClient client(&channel, 3, &window);
    EXPECT_EQ(client.GetSequence(), 0u);
    // A dialog often makes its client before its window exists.
    ASSERT_TRUE(window.Create());
    const Bytes packet = ServerPacket(803, 44, kClientKey, 0, 3);
    ASSERT_TRUE(m_server.Send(packet));

    ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen, packet);
    EXPECT_EQ(client.IsEmpty(), 1);
    CNetClient::SetLimitSecond(0);
    EXPECT_EQ(client._WaitPacket(static_cast<enumCommand>(803)), nullptr);

    window.DestroyWindow();
    EXPECT_EQ(client.DispatchMessageA(kClientPacketMessage, reinterpret_cast<WPARAM>(packet.data()),
                                      static_cast<LPARAM>(packet.size())),
              0)
        << "a window that is gone";
}

// Counts the waits that started, through the status object each client gets.
class CWaitCountingStatus : public CRecvStatus {
public:
    explicit CWaitCountingStatus(std::atomic<int>& waits) : m_waits(waits) {}
    void AddCount(int count) override { m_waits += count; }

private:
    std::atomic<int>& m_waits;
};

class CStatusChannel : public CTestChannel {
public:
    using CTestChannel::CTestChannel;
    std::atomic<int> waits{0};
    std::unique_ptr<CRecvStatus> CreateRecvStatus(CWnd* /*window*/) override {
        return std::make_unique<CWaitCountingStatus>(waits);
    }
};

// The wait looks at the clock before each receive, and a receive ends once
// nothing more waits. Two packets for the channel itself, the second sent only
// after the first was handled, come in two receives: the wait has looked at
// the clock between them.
void LetTheWaitLookAtTheClock(CTestingServer& server, CTestChannel& channel) {
    for (int packet = 0; packet < 2; ++packet) {
        const size_t before = channel.Parsed().size();
        ASSERT_TRUE(server.Send(ServerPacket(9, kPacketHeaderSize)));
        ASSERT_TRUE(WaitUntil([&] { return channel.Parsed().size() > before; }));
    }
}

TEST_F(RequestClient, ProgressWindowOpensAfterFiveSecondsAndItsCancelEndsTheWait) {
    CStatusChannel channel(m_server.Port());
    Connect(channel, 7, kClientKey);
    CNetClient client(&channel, SERVICE_KIOSK);
    CNetClient::SetShowProgress(1);
    std::atomic<HWND> opened{0};
    std::thread user([&] {
        ASSERT_TRUE(WaitUntil([&] { return channel.waits == 1; }));
        CLoopClock::Advance(5000);
        LetTheWaitLookAtTheClock(m_server, channel);
        EXPECT_EQ(client.GetProgressHwnd(), 0u) << "not at exactly five seconds";
        CLoopClock::Advance(1);
        ASSERT_TRUE(WaitUntil([&] { return client.GetProgressHwnd() != 0; }));
        opened = client.GetProgressHwnd();
        PostMessage(opened, WM_COMMAND, static_cast<WPARAM>(IDCANCEL), 0);
    });
    const CClockWatchdog watchdog;
    uint32_t command = 99;
    EXPECT_EQ(client._WaitPacket(static_cast<enumCommand>(602), &command), nullptr);
    user.join();
    EXPECT_NE(opened.load(), 0u);
    EXPECT_EQ(client.GetProgressHwnd(), 0u) << "closed when the wait ends";
    EXPECT_EQ(CWnd::FromHandle(opened), nullptr);
    EXPECT_EQ(command, 0u);
    EXPECT_TRUE(m_boxes.Boxes().empty()) << "a cancel is no time-out";
}

// A channel whose ParsePacket, reached from a client's wait on another
// thread, holds that thread there until the test lets it go.
class CHoldingChannel : public CTestChannel {
public:
    CHoldingChannel(uint16_t basePort, std::atomic<bool>& entered, std::atomic<bool>& release)
        : CTestChannel(basePort), m_entered(entered), m_release(release) {}
    ~CHoldingChannel() override { DetachClients(); }
    int ParsePacket(const uint8_t* data, int length) override {
        m_entered = true;
        EXPECT_TRUE(WaitUntil([this] { return m_release.load(); }));
        return CTestChannel::ParsePacket(data, length);
    }

private:
    std::atomic<bool>& m_entered;
    std::atomic<bool>& m_release;
};

TEST_F(RequestClient, ChannelGoingAwayWaitsForAClientCallOnAnotherThreadAndEndsItsWait) {
    std::atomic<bool> entered{false};
    std::atomic<bool> release{false};
    auto channel = std::make_unique<CHoldingChannel>(m_server.Port(), entered, release);
    std::unique_ptr<CNetClient> client;
    ConnectWithClient(*channel, client);
    const std::shared_ptr<CChannelAccess> access = channel->ClientAccess();

    const CClockWatchdog watchdog;
    std::thread waiter([&] {
        EXPECT_EQ(client->_WaitPacket(static_cast<enumCommand>(602)), nullptr)
            << "the channel went during the wait";
    });
    // Not for the client: the waiting thread hands it to ParsePacket and is held there.
    ASSERT_TRUE(m_server.Send(ServerPacket(999, 36)));
    ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));

    std::atomic<bool> destroyed{false};
    std::thread releaser([&] {
        // Once the channel is going: it turns new calls away, or is gone already.
        EXPECT_TRUE(WaitUntil([&] { return destroyed || !CChannelAccess::CUse(access); }));
        release = true;
    });
    channel.reset();
    destroyed = true;
    releaser.join();
    waiter.join();
    EXPECT_EQ(client->SendPacket(ServerPacket(515, 36).data(), 36), 0);
}

TEST(ProgressWnd, ShowsThePercentageAndOnlyFlagsACancel) {
    CProgressWnd progress("수신 대기중... 602", 30000, 0);
    ASSERT_TRUE(progress.Create());
    EXPECT_EQ(progress.GetTitle(), "Progress");
    progress.SetPos(7500);
    EXPECT_EQ(progress.GetTitle(), "Progress [25%]");
    progress.SetPos(90000);
    EXPECT_EQ(progress.GetPos(), 30000u);
    EXPECT_EQ(progress.GetTitle(), "Progress [100%]");

    progress.PostMessage(WM_COMMAND, static_cast<WPARAM>(IDCANCEL));
    EXPECT_FALSE(progress.IsCancelled()) << "only once its messages are handled";
    progress.ProcessMessages();
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_NE(progress.GetSafeHwnd(), 0u) << "cancel leaves closing to the wait";
    progress.DestroyWindow();
}

TEST(NetClientWithoutChannel, SendsNothingAndOutlivesAChannelSafely) {
    CNetClient lonely(nullptr, SERVICE_KIOSK);
    EXPECT_EQ(lonely.GetSequence(), 0u);
    EXPECT_EQ(lonely.SendPacket(ServerPacket(515, 36).data(), 36), 0);
    EXPECT_EQ(lonely.ReqNewService(SERVICE_KIOSK, "a", "b"), 0u);
    EXPECT_FALSE(lonely.GetShowRecvStatus());

    auto channel = std::make_unique<CNetChannel>();
    auto orphan = std::make_unique<CNetClient>(channel.get(), SERVICE_KIOSK);
    EXPECT_TRUE(orphan->GetShowRecvStatus());
    channel.reset();
    EXPECT_EQ(orphan->SendPacket(ServerPacket(515, 36).data(), 36), 0);
    orphan.reset();  // must not reach the channel that is gone
}

}  // namespace

}  // namespace hx
