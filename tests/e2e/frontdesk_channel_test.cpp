// The front-desk server as a process, with the kiosk's own channel library
// connecting to it over loopback: handshake, lists, acknowledged reports,
// sales seen by every kiosk, and a client sending garbage that is thrown out
// while the others go on. Each test's desk has a loopback address of its own,
// since kiosks always connect to port 12001.
#include <gtest/gtest.h>

#include <algorithm>

#include "channel/net_client.h"
#include "channel/server_ip_pool.h"
#include "channel/testing_channel.h"
#include "channel/testing_framework_key.h"
#include "kiosk/records/ack_record.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/list_page_records.h"
#include "kiosk/records/report_records.h"
#include "kiosk/records/sale_records.h"
#include "platform/tcp_stream.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"
#include "tests/support/test_random.h"
#include "tools/frontdesk/testing_frontdesk.h"

namespace hx {

namespace {

using json = nlohmann::json;

const std::filesystem::path kSample = std::filesystem::path(HX_FRONTDESK_SCENARIOS) / "sample.json";

class FrontDeskProcess : public ::testing::Test {
protected:
    void SetUp() override {
        CEnvr::SetFrameworkKey(kTestRegistryCompany, kTestRegistryApplication);
        std::filesystem::create_directories(GetWindowsFolder());
        DiscardWaitingMessages();
        CNetClient::SetLimitSecond(30);
    }
    void TearDown() override {
        DiscardWaitingMessages();
        CEnvr::SetFrameworkKey("", "");
    }

    // The desk on `address`, and the kiosks' address pool pointing at it.
    std::unique_ptr<CFrontDeskProcess> StartDesk(const std::string& address) {
        auto desk = std::make_unique<CFrontDeskProcess>(address, kSample, m_drive.Folder());
        EXPECT_TRUE(desk->WaitUntilListening()) << "the desk did not start";
        EXPECT_TRUE(CServerIpPool::WriteServerData(0, address));
        return desk;
    }

    // A kiosk's channel, connected and holding the scenario's lists,
    // configuration and options.
    std::unique_ptr<CTestChannel> ConnectKiosk(const std::string& computerName) {
        auto channel = std::make_unique<CTestChannel>(kChannelBasePort);
        channel->machine.computerName = computerName;
        channel->Start(0);
        EXPECT_TRUE(FinishAttempt(*channel));
        EXPECT_EQ(channel->IsAlive(), 1) << "no handshake with the desk";
        EXPECT_TRUE(PumpUntil([&] { return Received(*channel, CMD_KIOSK_OPTIONS) > 0; }));
        return channel;
    }

    static int Received(CTestChannel& channel, uint32_t command) {
        const std::vector<uint32_t> commands = channel.ParsedCommands();
        return static_cast<int>(std::count(commands.begin(), commands.end(), command));
    }

    static std::optional<Bytes> LastParsed(CTestChannel& channel, uint32_t command) {
        std::optional<Bytes> last;
        for (const Bytes& packet : channel.Parsed()) {
            if (UnpackHeader(packet).command == command) {
                last = packet;
            }
        }
        return last;
    }

    // Sends a step report through a request client and waits for its answer.
    static void ExpectAcknowledgedStep(CTestChannel& channel, const stStepReport& report) {
        CNetClient client(&channel, SERVICE_KIOSK);
        Bytes packet(kStepReportSize);
        ASSERT_TRUE(client.InitClientHeader(packet, static_cast<enumCommand>(CMD_STEP_REPORT)));
        ASSERT_TRUE(PackBody(report, packet));
        ASSERT_EQ(client.SendPacket(packet.data(), static_cast<int>(packet.size())), 1);
        CQueueData answer;
        ASSERT_EQ(client.WaitPacket(answer, static_cast<enumCommand>(CMD_STEP_REPORT)), 1);
        const std::span<const uint8_t> bytes(answer.GetData(),
                                             static_cast<size_t>(answer.GetLength()));
        EXPECT_EQ(UnpackHeader(bytes).addresseeSequence, client.GetSequence());
        stAck ack;
        ASSERT_TRUE(Unpack(bytes, ack));
        EXPECT_EQ(ack.command, CMD_STEP_REPORT);
        EXPECT_TRUE(IsAcknowledged(ack));
    }

    static void SendSale(CTestChannel& channel, int32_t roomNo, int32_t stayType) {
        CNetClient client(&channel, SERVICE_KIOSK);
        Bytes packet(kSaleRequestSize);
        stSaleRequest sale;
        sale.roomNo = roomNo;
        sale.stayType = stayType;
        sale.amount = sale.cashAmount = 50000;
        ASSERT_TRUE(client.InitClientHeader(packet, static_cast<enumCommand>(CMD_SALE)));
        ASSERT_TRUE(PackBody(sale, packet));
        ASSERT_EQ(client.SendPacket(packet.data(), static_cast<int>(packet.size())), 1);
    }

    CTempDrive m_drive;
};

TEST_F(FrontDeskProcess, KioskGetsItsListsAndItsStepReportIsAcknowledgedAndJournalled) {
    const auto desk = StartDesk("127.0.23.1");
    const auto kiosk = ConnectKiosk("KIOSK-LOBBY");
    EXPECT_EQ(kiosk->GetUniqueNo(), 1u) << "the scenario's number for this machine";
    EXPECT_NE(kiosk->GetClientKey(), 0u);
    const std::optional<Bytes> rooms = LastParsed(*kiosk, CMD_ROOM_LIST);
    stRoomPage page;
    ASSERT_TRUE(rooms && Unpack(*rooms, page));
    EXPECT_EQ(page.rooms.size(), 30u);
    EXPECT_EQ(page.rooms[0].name, "201호");
    EXPECT_EQ(Received(*kiosk, CMD_CLASS_LIST), 1);
    EXPECT_EQ(Received(*kiosk, CMD_KIOSK_CONFIG), 1);

    stStepReport report;
    report.code = 4;
    report.text = "10000";
    report.time = 1700000123;
    ExpectAcknowledgedStep(*kiosk, report);

    const json line = desk->FindInJournal([](const json& entry) {
        return entry.value("event", "") == "received" && entry.value("name", "") == "step report";
    });
    ASSERT_FALSE(line.is_null()) << "the report is not in the journal";
    EXPECT_EQ(line["fields"]["code"], 4);
    EXPECT_EQ(line["fields"]["text"], "10000");
    EXPECT_EQ(line["fields"]["time"], 1700000123);
    EXPECT_EQ(line["terminalNo"], 1);
}

TEST_F(FrontDeskProcess, AcceptedSaleChangesTheRoomForEveryKioskAndARefusalGivesTheCode) {
    const auto desk = StartDesk("127.0.23.2");
    const auto buyer = ConnectKiosk("KIOSK-LOBBY");
    const auto other = ConnectKiosk("KIOSK-FLOOR2");
    EXPECT_NE(buyer->GetClientKey(), other->GetClientKey());
    EXPECT_NE(buyer->GetUniqueNo(), other->GetUniqueNo());

    SendSale(*buyer, 301, STAY_SLEEP);
    ASSERT_TRUE(PumpUntil([&] {
        return Received(*buyer, CMD_SINGLE_ROOM) > 0 && Received(*other, CMD_SINGLE_ROOM) > 0;
    }));
    stSaleAnswer answer;
    ASSERT_TRUE(Unpack(LastParsed(*buyer, CMD_SALE_ANSWER).value_or(Bytes{}), answer));
    EXPECT_EQ(answer.result, kSaleAccepted);
    EXPECT_EQ(answer.room.state, 1);
    for (CTestChannel* kiosk : {buyer.get(), other.get()}) {
        stSingleRoom change;
        ASSERT_TRUE(Unpack(LastParsed(*kiosk, CMD_SINGLE_ROOM).value_or(Bytes{}), change));
        EXPECT_EQ(change.room.roomNo, 301);
        EXPECT_EQ(change.room.state, 1);
    }

    SendSale(*buyer, 209, STAY_RENTAL);
    ASSERT_TRUE(PumpUntil([&] { return Received(*buyer, CMD_SALE_ANSWER) == 2; }));
    ASSERT_TRUE(Unpack(LastParsed(*buyer, CMD_SALE_ANSWER).value_or(Bytes{}), answer));
    EXPECT_EQ(answer.result, -2) << "the scenario refuses day use of 209 with -2";
}

// Connects a plain socket and writes bytes that are nothing of the protocol.
bool SendRandomBytes(const std::string& address) {
    CTcpStream connection;
    return connection.Connect(address, kChannelBasePort) &&
           connection.SendAll(RandomBytes(256, 12001));
}

TEST_F(FrontDeskProcess, ClientSendingRandomBytesIsThrownOutWhileOthersAreServed) {
    const auto desk = StartDesk("127.0.23.3");
    const auto kiosk = ConnectKiosk("KIOSK-LOBBY");
    ASSERT_TRUE(SendRandomBytes("127.0.23.3"));
    EXPECT_TRUE(desk->WaitForJournal(
        [](const json& entry) { return entry.value("event", "") == "malformed"; }));
    EXPECT_TRUE(desk->WaitForJournal([](const json& entry) {
        return entry.value("event", "") == "closed" &&
               entry.value("reason", "") == "malformed framing";
    }));

    stStepReport report;
    report.code = 16;
    report.text = "201";
    ExpectAcknowledgedStep(*kiosk, report);
    EXPECT_EQ(kiosk->IsAlive(), 1);
}

TEST_F(FrontDeskProcess, ControlCommandReachesTheKiosk) {
    const auto desk = StartDesk("127.0.23.4");
    const auto kiosk = ConnectKiosk("KIOSK-LOBBY");
    EXPECT_EQ(desk->Command("room 202 state=2"), "ok: 1 packet(s) to 1 kiosk(s)");
    ASSERT_TRUE(PumpUntil([&] { return Received(*kiosk, CMD_SINGLE_ROOM) > 0; }));
    stSingleRoom change;
    ASSERT_TRUE(Unpack(LastParsed(*kiosk, CMD_SINGLE_ROOM).value_or(Bytes{}), change));
    EXPECT_EQ(change.room.roomNo, 202);
    EXPECT_EQ(change.room.state, 2);
}

TEST_F(FrontDeskProcess, SoldRoomStaysSoldAfterARestart) {
    auto desk = StartDesk("127.0.23.5");
    {
        const auto kiosk = ConnectKiosk("KIOSK-LOBBY");
        SendSale(*kiosk, 302, STAY_RENTAL);
        ASSERT_TRUE(PumpUntil([&] { return Received(*kiosk, CMD_SALE_ANSWER) > 0; }));
    }
    EXPECT_EQ(desk->Stop(), 0) << "SIGTERM ends the desk in order";
    desk = StartDesk("127.0.23.5");
    const auto kiosk = ConnectKiosk("KIOSK-LOBBY");
    stRoomPage page;
    ASSERT_TRUE(Unpack(LastParsed(*kiosk, CMD_ROOM_LIST).value_or(Bytes{}), page));
    const auto room =
        std::find_if(page.rooms.begin(), page.rooms.end(),
                     [](const stRoom4Kiosk& candidate) { return candidate.roomNo == 302; });
    ASSERT_NE(room, page.rooms.end());
    EXPECT_EQ(room->state, 1);
}

TEST(FrontDeskHelp, DocumentsTheScenarioAndTheCommands) {
    CTempDrive folder;
    stChildLaunch launch;
    launch.args = {HX_FRONTDESK_PROGRAM, "--help"};
    launch.outputFile = folder.Folder() / "help.txt";
    CChildProcess desk;
    ASSERT_TRUE(desk.Start(launch));
    ASSERT_EQ(desk.WaitForExit(), 0);
    const std::string help = ReadWholeFile(launch.outputFile);
    for (const char* topic :
         {"--scenario", "--listen", "\"rooms\"", "\"classes\"", "\"configuration\"", "\"options\"",
          "\"acknowledgements\"", "\"refusals\"", "\"pictures\"", "container", "message", "drop",
          "silent", "malformed", "malformed huge", "--max-connections", "--idle-timeout"}) {
        EXPECT_NE(help.find(topic), std::string::npos) << topic;
    }
}

}  // namespace

}  // namespace hx
