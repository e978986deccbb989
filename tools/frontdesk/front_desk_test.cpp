#include "tools/frontdesk/front_desk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "kiosk/records/ack_record.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/report_records.h"
#include "kiosk/records/room_records.h"
#include "kiosk/records/sale_records.h"
#include "net/io_limits.h"
#include "net/message_header.h"
#include "platform/loop_clock.h"
#include "tests/support/temp_drive.h"
#include "tests/support/wait_until.h"
#include "tools/frontdesk/control_executor.h"
#include "tools/common/testing_journal.h"
#include "tools/frontdesk/testing_kiosk.h"
#include "tools/frontdesk/testing_scenario.h"
#include "tools/frontdesk/zero_message.h"

namespace hx {

namespace {

using json = nlohmann::json;

stScenario TwoRooms() {
    stScenario scenario = TwoRoomScenario();
    scenario.options.deviceName = "시험기";
    scenario.kiosks = {{"LOBBY", "", 5, "로비", false}, {"BANNED", "", 0, "", true}};
    return scenario;
}

std::vector<uint32_t> Commands(const std::vector<Bytes>& packets) {
    std::vector<uint32_t> commands;
    for (const Bytes& packet : packets) {
        commands.push_back(UnpackHeader(packet).command);
    }
    return commands;
}

Bytes StepReport(int32_t code) {
    stStepReport report;
    report.code = code;
    report.text = "단계";
    return Pack(report);
}

constexpr uint64_t kMinuteMs = 60 * 1000;

// A connection made with the transport alone, for sending what no kiosk would.
std::unique_ptr<CIOPacket> RawConnection(uint16_t port) {
    auto connection = std::make_unique<CIOPacket>("127.0.0.1", port);
    connection->AddExtOption(IOEXT_NOPING);
    EXPECT_EQ(connection->Connect(1), IO_OK);
    return connection;
}

// A message header announcing 500 bytes and only 100 of them.
void SendHalfAMessage(CIOPacket& connection) {
    Bytes partial(kMessageHeaderSize + 100, 0);
    PackMessageHeader(500, partial.data());
    connection.SetBlockMode(false);
    connection.Send(partial.data(), static_cast<int>(partial.size()));
}

class FrontDeskTest : public ::testing::Test {
protected:
    explicit FrontDeskTest(const stDeskLimits& limits = {})
        : m_state(TwoRooms(), m_folder.Folder() / "ledger.json"),
          m_journal(m_folder.Folder() / "journal.jsonl"),
          m_desk(m_state, m_journal, limits),
          m_executor(m_desk, [] {}) {
        std::string error;
        EXPECT_TRUE(m_desk.Start("127.0.0.1", 0, error)) << error;
    }

    // A kiosk that completed its handshake and took its welcome packets.
    std::unique_ptr<CTestKiosk> ServedKiosk(const std::string& computerName) {
        auto kiosk = std::make_unique<CTestKiosk>("127.0.0.1", m_desk.Port());
        EXPECT_TRUE(kiosk->Handshake(computerName));
        EXPECT_FALSE(kiosk->ReceiveUntil(CMD_KIOSK_OPTIONS).empty());
        return kiosk;
    }

    // Sessions write from their own threads: waits until the line is there.
    bool Journalled(const std::string& event, const json::json_pointer& field, const json& value) {
        return WaitUntil([&] {
            for (const json& entry : ReadJournal(m_folder.Folder() / "journal.jsonl")) {
                if (entry.value("event", "") == event && entry.contains(field) &&
                    entry[field] == value) {
                    return true;
                }
            }
            return false;
        });
    }

    CTempDrive m_folder;
    stDeskState m_state;
    CJournal m_journal;
    CFrontDesk m_desk;
    CControlExecutor m_executor;
};

TEST_F(FrontDeskTest, HandshakeThenClassesRoomsConfigurationAndOptions) {
    CTestKiosk kiosk("127.0.0.1", m_desk.Port());
    const std::optional<Bytes> answer = kiosk.Handshake("LOBBY");
    ASSERT_TRUE(answer);
    EXPECT_EQ(UnpackHeader(*answer).command, CMD_HANDSHAKE_ANSWER);
    EXPECT_EQ(kiosk.Identity().uniqueNo, 5u);
    EXPECT_EQ(kiosk.Identity().name, "로비");
    EXPECT_NE(kiosk.Identity().clientKey, 0u);
    const std::vector<Bytes> welcome = kiosk.ReceiveUntil(CMD_KIOSK_OPTIONS);
    EXPECT_EQ(Commands(welcome), (std::vector<uint32_t>{CMD_CLASS_LIST, CMD_ROOM_LIST,
                                                        CMD_KIOSK_CONFIG, CMD_KIOSK_OPTIONS}));
    for (const Bytes& packet : welcome) {
        const stHeader header = UnpackHeader(packet);
        EXPECT_EQ(header.addresseeClientKey, kiosk.Identity().clientKey);
        EXPECT_EQ(header.addresseeSequence, 0u);
        EXPECT_EQ(header.serviceKey, 0u);
    }
    EXPECT_TRUE(Journalled("received", "/name"_json_pointer, "handshake request"));
    EXPECT_TRUE(Journalled("received", "/name"_json_pointer, "handshake confirmation"));
}

TEST_F(FrontDeskTest, RefusedMachineGetsARefusalAndIsClosed) {
    CTestKiosk kiosk("127.0.0.1", m_desk.Port());
    const std::optional<Bytes> answer = kiosk.Handshake("BANNED");
    ASSERT_TRUE(answer);
    EXPECT_EQ(UnpackHeader(*answer).command, CMD_HANDSHAKE_REFUSED);
    EXPECT_TRUE(kiosk.IsClosedByPeer());
}

TEST_F(FrontDeskTest, MalformedInputClosesOnlyThatConnection) {
    const auto served = ServedKiosk("LOBBY");
    // Bytes that are no message: a block without a message header inside.
    CIOPacket garbage("127.0.0.1", m_desk.Port());
    garbage.AddExtOption(IOEXT_NOPING);
    ASSERT_EQ(garbage.Connect(1), IO_OK);
    garbage.SetOption(0);
    const Bytes noise = {0xde, 0xad, 0xbe, 0xef, 1,  2,  3,  4,  5,  6,  7,  8,  9,
                         10,   11,   12,   13,   14, 15, 16, 17, 18, 19, 20, 21, 22};
    ASSERT_EQ(garbage.Send(noise.data(), static_cast<int>(noise.size())), IO_OK);
    // A packet whose header lies about its size, after a proper handshake.
    const auto liar = ServedKiosk("OTHER");
    Bytes report = liar->FromClient(StepReport(1), 3);
    report.resize(500);
    ASSERT_TRUE(liar->Send(report));
    EXPECT_TRUE(liar->IsClosedByPeer());

    ASSERT_TRUE(served->Send(served->FromClient(StepReport(4), 9)));
    const std::optional<Bytes> ack = served->Receive();
    ASSERT_TRUE(ack);
    EXPECT_EQ(UnpackHeader(*ack).addresseeSequence, 9u);
    EXPECT_TRUE(Journalled("closed", "/reason"_json_pointer, "malformed framing"));
    EXPECT_TRUE(Journalled("closed", "/reason"_json_pointer, "malformed packet"));
}

TEST_F(FrontDeskTest, SaleReachesEveryKioskAndARefusalOnlyTheBuyer) {
    const auto buyer = ServedKiosk("LOBBY");
    const auto other = ServedKiosk("OTHER");
    stSaleRequest sale;
    sale.roomNo = 202;
    sale.stayType = STAY_SLEEP;
    sale.amount = sale.cashAmount = 50000;
    ASSERT_TRUE(buyer->Send(buyer->FromClient(Pack(sale), 4)));
    const std::vector<Bytes> toBuyer = buyer->ReceiveUntil(CMD_SINGLE_ROOM);
    ASSERT_EQ(Commands(toBuyer), (std::vector<uint32_t>{CMD_SALE_ANSWER, CMD_SINGLE_ROOM}));
    stSaleAnswer answer;
    ASSERT_TRUE(Unpack(toBuyer[0], answer));
    EXPECT_EQ(answer.result, kSaleAccepted);
    EXPECT_EQ(UnpackHeader(toBuyer[0]).addresseeSequence, 0u) << "no waiting client takes it";
    const std::vector<Bytes> toOther = other->ReceiveUntil(CMD_SINGLE_ROOM);
    ASSERT_EQ(toOther.size(), 1u);
    stSingleRoom change;
    ASSERT_TRUE(Unpack(toOther[0], change));
    EXPECT_EQ(change.room.roomNo, 202);
    EXPECT_NE(change.room.state, kRoomVacant);
    EXPECT_EQ(UnpackHeader(toOther[0]).addresseeClientKey, other->Identity().clientKey);

    ASSERT_TRUE(buyer->Send(buyer->FromClient(Pack(sale), 5)));
    const std::optional<Bytes> refusal = buyer->Receive();
    ASSERT_TRUE(refusal);
    ASSERT_TRUE(Unpack(*refusal, answer));
    EXPECT_EQ(answer.result, m_state.scenario.sales.unavailableResult);
}

TEST_F(FrontDeskTest, ControlCommandsPushToTheKiosksTheyName) {
    const auto lobby = ServedKiosk("LOBBY");
    const auto other = ServedKiosk("OTHER");
    EXPECT_EQ(m_executor.Execute("room 201 state=3 name=\"이백일\""),
              "ok: 1 packet(s) to 2 kiosk(s)");
    for (CTestKiosk* kiosk : {lobby.get(), other.get()}) {
        const std::optional<Bytes> packet = kiosk->Receive();
        stSingleRoom change;
        ASSERT_TRUE(packet && Unpack(*packet, change));
        EXPECT_EQ(change.room.state, 3);
        EXPECT_EQ(change.room.name, "이백일");
    }
    EXPECT_EQ(m_state.ledger.Book().roomStates.at(201), 3) << "kept across restarts";

    const std::string onlyOther = " to=" + std::to_string(other->Identity().uniqueNo);
    EXPECT_EQ(m_executor.Execute("container config options" + onlyOther),
              "ok: 1 packet(s) to 1 kiosk(s)");
    const std::optional<Bytes> container = other->Receive();
    ASSERT_TRUE(container);
    EXPECT_EQ(UnpackHeader(*container).command, CMD_CONTAINER);
    EXPECT_EQ(container->size(), 36u + 108u + 560u);
    EXPECT_EQ(UnpackHeader(std::span(*container).subspan(36)).addresseeClientKey,
              other->Identity().clientKey);

    EXPECT_EQ(m_executor.Execute("message \"알림\" \"점검 중입니다\" to=5").substr(0, 2), "ok");
    const std::optional<Bytes> box = lobby->Receive();
    ASSERT_TRUE(box);
    EXPECT_EQ(UnpackHeader(*box).command, CMD_MESSAGE_BOX);

    for (const char* refused :
         {"room 999 remove", "config colour=1", "fly", "malformed", "malformed huge",
          "malformed huge 0", "malformed huge 2147483648", "malformed huge ten"}) {
        EXPECT_TRUE(m_executor.Execute(refused).starts_with("error")) << refused;
    }
}

TEST_F(FrontDeskTest, SilenceAndPoliciesChangeWhileRunning) {
    const auto kiosk = ServedKiosk("LOBBY");
    EXPECT_EQ(m_executor.Execute("silent on"), "ok: silent on");
    ASSERT_TRUE(kiosk->Send(kiosk->FromClient(StepReport(1), 21)));
    ASSERT_TRUE(Journalled("received", "/header/senderSequence"_json_pointer, 21));
    EXPECT_EQ(m_executor.Execute("silent off"), "ok: silent off");
    EXPECT_EQ(m_executor.Execute("ack 515 refuse"), "ok: 515 refuse");
    ASSERT_TRUE(kiosk->Send(kiosk->FromClient(StepReport(2), 22)));
    const std::optional<Bytes> answer = kiosk->Receive();
    ASSERT_TRUE(answer);
    EXPECT_EQ(UnpackHeader(*answer).addresseeSequence, 22u) << "21 came while silent";
    stAck ack;
    ASSERT_TRUE(Unpack(*answer, ack));
    EXPECT_FALSE(IsAcknowledged(ack));
    EXPECT_TRUE(m_executor.Execute("ack 601 refuse").starts_with("error"));

    EXPECT_EQ(m_executor.Execute("drop to=5"), "ok: dropped 1 kiosk(s)");
    EXPECT_TRUE(kiosk->IsClosedByPeer());
}

TEST_F(FrontDeskTest, HugeMessageGoesToTheKioskNamedAnnouncingItsLength) {
    const auto kiosk = ServedKiosk("LOBBY");
    const auto other = ServedKiosk("OTHER");
    EXPECT_EQ(m_executor.Execute("malformed huge 1073741824 to=5"), "ok: to 1 kiosk(s)");
    EXPECT_EQ(kiosk->ReadAnnouncedLength(), 1073741824);
    EXPECT_TRUE(kiosk->ReadZeros(1 << 20)) << "its first mebibyte";
    EXPECT_TRUE(Journalled("sending", "/announced"_json_pointer, 1073741824));
}

TEST_F(FrontDeskTest, WhyAHostileConnectionEndedIsJournalled) {
    struct stCase {
        const char* what;
        std::function<void(CIOPacket&)> act;
        const char* event;
        json::json_pointer field;
        json value;
    };
    const std::vector<stCase> kCases = {
        {"announces two mebibytes", [](CIOPacket& io) { SendZeroMessage(io, 2 << 20); },
         "malformed", "/code"_json_pointer, IO_BAD_LENGTH},
        {"leaves in the middle of a message", SendHalfAMessage, "closed", "/reason"_json_pointer,
         "closed by the kiosk in the middle of a message"},
        {"leaves before a message", [](CIOPacket&) {}, "closed", "/reason"_json_pointer,
         "closed by the kiosk"},
    };
    for (const stCase& hostile : kCases) {
        hostile.act(*RawConnection(m_desk.Port()));
        EXPECT_TRUE(Journalled(hostile.event, hostile.field, hostile.value)) << hostile.what;
    }
    ServedKiosk("LOBBY");  // the desk goes on serving
}

TEST_F(FrontDeskTest, StopEndsASessionWaitingForTheRestOfAMessage) {
    // Without the stop's help the session would wait ten minutes for the rest.
    struct stPatientTransport {
        stPatientTransport() {
            stIoTimeLimits patient;
            patient.idleReadMs = patient.receiveMs = static_cast<int>(10 * kMinuteMs);
            SetIoTimeLimits(patient);
        }
        ~stPatientTransport() { SetIoTimeLimits(stIoTimeLimits{}); }
    } patientTransport;
    const auto kiosk = RawConnection(m_desk.Port());
    SendHalfAMessage(*kiosk);
    ASSERT_TRUE(Journalled("connected", "/session"_json_pointer, 1));
    m_desk.Stop();
    EXPECT_TRUE(Journalled("closed", "/reason"_json_pointer, "the desk stopped"));
}

// At most two connections, and idle time measured on the manual clock.
class LimitedFrontDeskTest : public FrontDeskTest {
protected:
    LimitedFrontDeskTest() : FrontDeskTest({2, std::chrono::minutes(15)}) {
        CLoopClock::UseManualClock();
    }
    ~LimitedFrontDeskTest() override { CLoopClock::UseRealClock(); }
};

TEST_F(LimitedFrontDeskTest, ConnectionBeyondTheLimitIsClosedUntilOneEnds) {
    auto first = ServedKiosk("LOBBY");
    const auto second = ServedKiosk("OTHER");
    CTestKiosk third("127.0.0.1", m_desk.Port());
    ASSERT_TRUE(third.Connect());
    EXPECT_TRUE(third.IsClosedByPeer());
    EXPECT_TRUE(Journalled("closed", "/reason"_json_pointer, "over the connection limit"));

    first.reset();
    ASSERT_TRUE(Journalled("closed", "/reason"_json_pointer, "closed by the kiosk"));
    ServedKiosk("THIRD");  // in the place that came free
}

TEST_F(LimitedFrontDeskTest, ConnectionSilentForTheIdleTimeOutIsClosed) {
    CTestKiosk silent("127.0.0.1", m_desk.Port());
    ASSERT_TRUE(silent.Connect());
    // Accepted after the silent one, so both sessions have begun once it is served.
    const auto talking = ServedKiosk("LOBBY");
    CLoopClock::Advance(10 * kMinuteMs);
    ASSERT_TRUE(talking->Send(talking->FromClient(StepReport(1), 3)));
    ASSERT_TRUE(talking->Receive());

    CLoopClock::Advance(6 * kMinuteMs);
    EXPECT_TRUE(silent.IsClosedByPeer());
    EXPECT_TRUE(Journalled("closed", "/reason"_json_pointer, "idle time-out"));
    ASSERT_TRUE(talking->Send(talking->FromClient(StepReport(2), 4)));
    EXPECT_TRUE(talking->Receive()) << "six minutes after its last message it is served";

    CLoopClock::Advance(15 * kMinuteMs);
    EXPECT_TRUE(talking->IsClosedByPeer());
}

}  // namespace

}  // namespace hx
