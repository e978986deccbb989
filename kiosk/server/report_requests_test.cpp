#include "kiosk/server/report_requests.h"

#include <gtest/gtest.h>

#include <future>

#include "channel/net_client.h"
#include "channel/testing_channel.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/sale_records.h"
#include "kiosk/server/server_requests.h"

namespace hx {

namespace {

class ReportRequests : public CChannelTest {
protected:
    void SetUp() override {
        CChannelTest::SetUp();
        Connect(m_channel);
    }

    std::optional<Bytes> NextOf(uint32_t command) {
        std::optional<Bytes> packet;
        do {
            packet = m_server.Receive();
        } while (packet && Field32(*packet, HDR_COMMAND) != command);
        return packet;
    }

    // The answer record, addressed to the client that asked.
    void AnswerWith(uint32_t command, Bytes answer) {
        const std::optional<Bytes> request = NextOf(command);
        ASSERT_TRUE(request);
        StoreLe32(&answer[HDR_ADDRESSEE_CLIENT_KEY], 0x1001);
        StoreLe32(&answer[HDR_ADDRESSEE_SEQUENCE], Field32(*request, HDR_SENDER_SEQUENCE));
        StoreLe32(&answer[HDR_SERVICE_KEY], SERVICE_KIOSK);
        ASSERT_TRUE(m_server.Send(answer));
    }

    CTestChannel m_channel{m_server.Port()};
};

TEST_F(ReportRequests, QuestionsWaitForTheirOwnAnswers) {
    stSalesSummary summary;
    summary.totalSales = 185000;
    summary.keyCardsIssued = 4;
    auto asked = std::async(std::launch::async, [&] { return RequestSalesSummary(&m_channel); });
    AnswerWith(CMD_SALES_SUMMARY, Pack(summary));
    const std::optional<stSalesSummary> got = asked.get();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->totalSales, 185000);
    EXPECT_EQ(got->keyCardsIssued, 4);

    auto settled = std::async(std::launch::async, [&] { return RequestSettlement(&m_channel); });
    Bytes result = ServerPacket(CMD_SETTLEMENT, 104);
    StoreLe32(&result[40], 3);
    AnswerWith(CMD_SETTLEMENT, result);
    EXPECT_EQ(settled.get(), 3);

    auto update = std::async(std::launch::async, [&] { return RequestUpdateInfo(&m_channel); });
    AnswerWith(CMD_UPDATE_INFO, ServerPacket(CMD_SALES_SUMMARY, kUpdateInfoSize));
    EXPECT_FALSE(update.get()) << "an answer of another command";

    auto shortAnswer =
        std::async(std::launch::async, [&] { return RequestSettlement(&m_channel); });
    AnswerWith(CMD_SETTLEMENT, ServerPacket(CMD_SETTLEMENT, 100));
    EXPECT_EQ(shortAnswer.get(), 0);
    EXPECT_EQ(RequestSettlement(nullptr), 0);
}

TEST_F(ReportRequests, ADeviceEventTextIsCutTo2047BytesAndACashSaleCarriesNoApproval) {
    const std::filesystem::path file = m_drive.Folder() / "ReSend.log";
    CReSender queue(&m_channel, file, {});
    queue.Start();
    EXPECT_EQ(SendDeviceEvent(&queue, 402, false, std::string(3000, 'x')),
              CReSender::HANDED_SENDING);
    const std::optional<Bytes> event = NextOf(CMD_DEVICE_EVENT);
    ASSERT_TRUE(event && event->size() == kDeviceEventSize);
    EXPECT_EQ(WireText(*event, 48, 2048), std::string(2047, 'x'));
    EXPECT_EQ((*event)[48 + 2047], 0);
    EXPECT_NE(Field32(*event, 2096), 0u) << "stamped with the time";
    queue.Stop();

    stSaleRequest sale;
    sale.roomNo = 305;
    sale.stayType = STAY_RENTAL;
    sale.amount = sale.cashAmount = 25000;
    ASSERT_EQ(SendSaleRequest(&m_channel, sale), 1);
    const std::optional<Bytes> request = NextOf(CMD_SALE);
    ASSERT_TRUE(request && request->size() == kSaleRequestSize);
    EXPECT_EQ(Field32(*request, 36), 305u);
    EXPECT_EQ(Field32(*request, 68), 25000u);
    EXPECT_EQ(Field32(*request, 72), 25000u);
    EXPECT_EQ(Field32(*request, 76), 0u);
    EXPECT_EQ(Bytes(request->begin() + 88, request->end()), Bytes(824, 0));
    EXPECT_EQ(SendStepReport(nullptr, 0, "a"), CReSender::HAND_OVER_REFUSED);
}

}  // namespace

}  // namespace hx
