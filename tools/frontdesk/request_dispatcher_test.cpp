#include "tools/frontdesk/request_dispatcher.h"

#include <gtest/gtest.h>

#include <fstream>

#include "kiosk/records/ack_record.h"
#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/header_only_requests.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/list_page_records.h"
#include "kiosk/records/report_records.h"
#include "kiosk/records/sale_records.h"
#include "kiosk/records/summary_records.h"
#include "kiosk/records/update_records.h"
#include "net/packet_header.h"
#include "tests/support/temp_drive.h"
#include "tools/frontdesk/testing_scenario.h"

namespace hx {

namespace {

constexpr stKioskIdentity kKiosk{3, 0x1001};
constexpr int64_t kNow = 1700000000;

stScenario SmallScenario(const std::filesystem::path& pictures) {
    stScenario scenario = TwoRoomScenario();
    scenario.updateId = "UPDATE-7";
    scenario.startupResult = 1;
    scenario.pictureFolder = pictures;
    scenario.sales.refusals = {{202, 0, -2}};
    return scenario;
}

// A request as a kiosk's request client sends it.
Bytes FromClient(Bytes packet, uint32_t sequence = 11) {
    stHeader header = UnpackHeader(packet);
    header.senderClientKey = kKiosk.clientKey;
    header.senderSequence = sequence;
    header.serviceKey = 9;
    PackHeader(header, packet);
    return packet;
}

Bytes StepReport(const char* text) {
    stStepReport report;
    report.code = 4;
    report.text = text;
    return FromClient(Pack(report));
}

class DispatcherTest : public ::testing::Test {
protected:
    DispatcherTest()
        : m_state(SmallScenario(m_folder.Folder()), m_folder.Folder() / "ledger.json") {
        std::ofstream(m_folder.Folder() / "201_0.png", std::ios::binary)
            << std::string(kFullChunkBytes + 10, 'p');
    }
    stReplies Dispatch(const Bytes& packet) {
        return DispatchRequest(m_state, kKiosk, packet, kNow);
    }

    CTempDrive m_folder;
    stDeskState m_state;
};

TEST_F(DispatcherTest, ReportIsAcknowledgedToTheAskingClientOnceItIsKept) {
    const stReplies replies = Dispatch(StepReport("10000"));
    ASSERT_EQ(replies.answers.size(), 1u);
    EXPECT_TRUE(replies.pushes.empty());
    const stHeader header = UnpackHeader(replies.answers[0]);
    EXPECT_EQ(header.command, CMD_STEP_REPORT);
    EXPECT_EQ(header.addresseeClientKey, kKiosk.clientKey);
    EXPECT_EQ(header.addresseeSequence, 11u);
    stAck ack;
    ASSERT_TRUE(Unpack(replies.answers[0], ack));
    EXPECT_TRUE(IsAcknowledged(ack));
    EXPECT_EQ(m_state.ledger.Book().periods.at(3).reportCounts.at(CMD_STEP_REPORT), 1);
}

TEST_F(DispatcherTest, PolicyRefusesOrSilencesWithoutKeeping) {
    m_state.scenario.ackPolicies[CMD_STEP_REPORT] = enumAckPolicy::Refuse;
    const stReplies refused = Dispatch(StepReport("x"));
    stAck ack;
    ASSERT_EQ(refused.answers.size(), 1u);
    ASSERT_TRUE(Unpack(refused.answers[0], ack));
    EXPECT_FALSE(IsAcknowledged(ack));
    m_state.scenario.ackPolicies[CMD_STEP_REPORT] = enumAckPolicy::Silent;
    EXPECT_TRUE(Dispatch(StepReport("x")).answers.empty());
    EXPECT_TRUE(m_state.ledger.Book().periods.empty()) << "the kiosk will send them again";
}

TEST_F(DispatcherTest, UnwrittenLedgerRefusesReportsAndSales) {
    stDeskState broken(SmallScenario({}), m_folder.Folder() / "gone" / "ledger.json");
    stAck ack;
    const stReplies report = DispatchRequest(broken, kKiosk, StepReport("x"), kNow);
    ASSERT_TRUE(Unpack(report.answers.at(0), ack));
    EXPECT_FALSE(IsAcknowledged(ack)) << "never acknowledge what was not kept";
    EXPECT_FALSE(report.note.empty());

    stSaleRequest sale;
    sale.roomNo = 201;
    sale.stayType = STAY_RENTAL;
    const stReplies refused = DispatchRequest(broken, kKiosk, FromClient(Pack(sale)), kNow);
    stSaleAnswer answer;
    ASSERT_TRUE(Unpack(refused.pushes.at(0), answer));
    EXPECT_EQ(answer.result, -1);
    EXPECT_TRUE(refused.broadcasts.empty());
    EXPECT_EQ(broken.scenario.rooms[0].state, 0) << "a sale not kept leaves the room vacant";
}

TEST_F(DispatcherTest, CashReportsAndSalesMakeTheSummaryUntilSettlement) {
    stMoneyReport cashIn;
    cashIn.command = CMD_CASH_IN_REPORT;
    cashIn.notes10000 = 1;
    Dispatch(FromClient(Pack(cashIn)));
    stSaleRequest sale;
    sale.roomNo = 201;
    sale.stayType = STAY_RENTAL;
    sale.amount = sale.cashAmount = 30000;
    Dispatch(FromClient(Pack(sale)));

    const stReplies summary = Dispatch(FromClient(PackHeaderOnlyRequest(CMD_SALES_SUMMARY), 12));
    ASSERT_EQ(summary.answers.size(), 1u);
    EXPECT_EQ(summary.answers[0].size(), 124u);
    EXPECT_EQ(UnpackHeader(summary.answers[0]).addresseeSequence, 12u);
    stSalesSummary figures;
    ASSERT_TRUE(Unpack(summary.answers[0], figures));
    EXPECT_EQ(figures.totalSales, 30000);
    EXPECT_EQ(figures.inserted10000, 1);

    const stReplies settled = Dispatch(FromClient(PackHeaderOnlyRequest(CMD_SETTLEMENT)));
    stAck ack;
    ASSERT_TRUE(Unpack(settled.answers.at(0), ack));
    EXPECT_EQ(ack.command, CMD_SETTLEMENT);
    EXPECT_TRUE(IsAcknowledged(ack));
    ASSERT_TRUE(
        Unpack(Dispatch(FromClient(PackHeaderOnlyRequest(CMD_SALES_SUMMARY))).answers[0], figures));
    EXPECT_EQ(figures.totalSales, 0);
}

TEST_F(DispatcherTest, AcceptedSaleAnswersTheKioskAndTellsEveryKiosk) {
    stSaleRequest sale;
    sale.roomNo = 201;
    sale.stayType = STAY_RENTAL;
    sale.amount = sale.cashAmount = 30000;
    const stReplies replies = Dispatch(FromClient(Pack(sale)));
    EXPECT_TRUE(replies.answers.empty()) << "602 is no answer for a waiting client";
    ASSERT_EQ(replies.pushes.size(), 1u);
    stSaleAnswer answer;
    ASSERT_TRUE(Unpack(replies.pushes[0], answer));
    EXPECT_EQ(answer.result, kSaleAccepted);
    EXPECT_EQ(answer.room.roomNo, 201);
    EXPECT_EQ(answer.room.state, 1);
    EXPECT_EQ(answer.endTime.size(), 19u);
    ASSERT_EQ(replies.broadcasts.size(), 1u);
    stSingleRoom change;
    ASSERT_TRUE(Unpack(replies.broadcasts[0], change));
    EXPECT_EQ(change.room.roomNo, 201);
    EXPECT_EQ(change.room.state, 1);
    EXPECT_EQ(m_state.ledger.Book().roomStates.at(201), 1);

    sale.roomNo = 202;
    const stReplies refused = Dispatch(FromClient(Pack(sale)));
    ASSERT_TRUE(Unpack(refused.pushes.at(0), answer));
    EXPECT_EQ(answer.result, -2) << "the scenario's code";
    EXPECT_TRUE(refused.broadcasts.empty());
}

TEST_F(DispatcherTest, ListsStartupAndUpdateInformation) {
    const stReplies lists = Dispatch(FromClient(PackHeaderOnlyRequest(CMD_ROOM_LIST)));
    ASSERT_EQ(lists.pushes.size(), 2u);
    EXPECT_EQ(UnpackHeader(lists.pushes[0]).command, CMD_CLASS_LIST);
    EXPECT_EQ(UnpackHeader(lists.pushes[1]).command, CMD_ROOM_LIST);
    EXPECT_TRUE(lists.answers.empty());

    const stReplies startup = Dispatch(FromClient(PackHeaderOnlyRequest(CMD_STARTUP)));
    stStartupAnswer ready;
    ASSERT_TRUE(Unpack(startup.pushes.at(0), ready));
    EXPECT_EQ(ready.result, kStartupReady);

    const stReplies update = Dispatch(FromClient(PackHeaderOnlyRequest(CMD_UPDATE_INFO), 30));
    stUpdateInfo info;
    ASSERT_TRUE(Unpack(update.answers.at(0), info));
    EXPECT_EQ(info.updateId, "UPDATE-7");
    EXPECT_EQ(UnpackHeader(update.answers[0]).addresseeSequence, 30u);
}

TEST_F(DispatcherTest, PictureGoesInChunksAndAMissingOneAsAnEmptyFile) {
    const stReplies found = Dispatch(FromClient(Pack(stPictureRequest{4, "201_0.png"})));
    ASSERT_EQ(found.pushes.size(), 2u);
    stFileChunk chunk;
    ASSERT_TRUE(Unpack(found.pushes[1], chunk));
    EXPECT_EQ(chunk.command, CMD_PICTURE_CHUNK);
    EXPECT_EQ(chunk.index, 4);
    EXPECT_EQ(chunk.offset, 16384);
    EXPECT_EQ(chunk.data.size(), 10u);

    const stReplies missing = Dispatch(FromClient(Pack(stPictureRequest{5, "../ledger.json"})));
    ASSERT_EQ(missing.pushes.size(), 1u);
    ASSERT_TRUE(Unpack(missing.pushes[0], chunk));
    EXPECT_TRUE(chunk.data.empty());
    EXPECT_FALSE(missing.note.empty());
}

TEST_F(DispatcherTest, UnreadablePictureAndSaleRequestsAreRefusedAndNoted) {
    stSaleRequest sale;
    sale.roomNo = 201;
    sale.stayType = STAY_RENTAL;
    Bytes picture = FromClient(Pack(stPictureRequest{4, "201_0.png"}));
    picture.resize(kPictureRequestSize - 1);
    Bytes sold = FromClient(Pack(sale));
    sold.resize(kSaleRequestSize - 1);

    const stReplies noPicture = Dispatch(picture);
    EXPECT_TRUE(noPicture.pushes.empty()) << "no chunk of a file nobody named";
    EXPECT_TRUE(noPicture.answers.empty());
    EXPECT_NE(noPicture.note.find("picture request of 295 bytes could not be read"),
              std::string::npos)
        << noPicture.note;

    const stReplies refused = Dispatch(sold);
    stSaleAnswer answer;
    ASSERT_EQ(refused.pushes.size(), 1u);
    ASSERT_TRUE(Unpack(refused.pushes[0], answer));
    EXPECT_EQ(answer.result, -1);
    EXPECT_TRUE(refused.broadcasts.empty());
    EXPECT_NE(refused.note.find("sale request"), std::string::npos) << refused.note;
    EXPECT_NE(refused.note.find("refused"), std::string::npos) << refused.note;
    EXPECT_EQ(m_state.scenario.rooms[0].state, 0) << "nothing was sold";
    EXPECT_TRUE(m_state.ledger.Book().roomStates.empty());
}

}  // namespace

}  // namespace hx
