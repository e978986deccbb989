#include "kiosk/server/re_sender.h"

#include <gtest/gtest.h>

#include <mutex>

#include "channel/net_client.h"
#include "channel/testing_channel.h"
#include "kiosk/records/kiosk_command.h"
#include "tests/support/file_text.h"

namespace hx {

namespace {

using Lines = std::vector<std::string>;

class ReSender : public CChannelTest {
protected:
    CReSender::stHooks Hooks() {
        return {[] { return stMoneyReport{CMD_FLOAT_REPORT, 7, 6, 5, 4, 0}; },
                [this](std::string_view command) {
                    const std::lock_guard lock(m_movieLock);
                    m_movie.emplace_back(command);
                },
                [](std::string_view) {}};
    }

    // The next request the server gets, past the clients' opening and closing.
    std::optional<Bytes> NextRequest() {
        for (;;) {
            std::optional<Bytes> packet = m_server.Receive();
            if (!packet || (Field32(*packet, HDR_COMMAND) != CMD_CLIENT_OPEN &&
                            Field32(*packet, HDR_COMMAND) != CMD_CLIENT_CLOSE)) {
                return packet;
            }
        }
    }

    // Answers the request with `command` (its own by default) and a result.
    void Answer(const Bytes& request, int32_t result, uint32_t command = 0) {
        Bytes answer = ServerPacket(command != 0 ? command : Field32(request, HDR_COMMAND), 104,
                                    0x1001, Field32(request, HDR_SENDER_SEQUENCE), SERVICE_KIOSK);
        StoreLe32(&answer[40], static_cast<uint32_t>(result));
        ASSERT_TRUE(m_server.Send(answer));
    }

    // Takes the next request, checks its command and answers it.
    Bytes ExpectAndAnswer(uint32_t command, int32_t result) {
        const std::optional<Bytes> request = NextRequest();
        EXPECT_TRUE(request && Field32(*request, HDR_COMMAND) == command) << command;
        if (request) {
            Answer(*request, result);
        }
        return request.value_or(Bytes{});
    }

    Lines FileLines() {
        CReSendFile file(m_path);
        return file.Lines();
    }

    Lines Movie() {
        const std::lock_guard lock(m_movieLock);
        return m_movie;
    }

    const std::filesystem::path m_path = m_drive.Folder() / "LogFiles" / "ReSend.log";
    std::mutex m_movieLock;
    Lines m_movie;
};

TEST_F(ReSender, AReplayStopsAtTheFirstReportNotAcknowledgedAndKeepsTheRestInOrder) {
    ASSERT_TRUE(WriteWholeFile(m_path,
                               "1||0||a||\r\n9||dropped\r\n\r\n1||1||b||\r\n"
                               "4||1||0||0||0||0||\r\n1||2||c||\r\n"));
    CTestChannel channel(m_server.Port());
    Connect(channel);
    CReSender sender(&channel, m_path, Hooks());
    sender.Start();
    sender.QueueReplay();

    const Bytes first = ExpectAndAnswer(CMD_STEP_REPORT, 1);
    EXPECT_EQ(WireText(first, 44, 1024), "a");
    const Bytes second = ExpectAndAnswer(CMD_STEP_REPORT, 0);
    EXPECT_EQ(WireText(second, 44, 1024), "b");
    const std::optional<Bytes> notice = NextRequest();
    ASSERT_TRUE(notice);
    EXPECT_EQ(Field32(*notice, HDR_COMMAND), CMD_STARTUP) << "the follow-up after the pass";
    ASSERT_TRUE(WaitUntil([&] { return Movie().size() == 2; }));
    EXPECT_EQ(Movie(), (Lines{"InitRoomData", "ClearError"}));
    EXPECT_EQ(FileLines(), (Lines{"1||1||b||", "4||1||0||0||0||0||", "1||2||c||"}));
}

TEST_F(ReSender, AFileOfEmptyLinesGoesAndNothingIsSentButTheFollowUp) {
    ASSERT_TRUE(WriteWholeFile(m_path, "\r\n\r\n\n"));
    CTestChannel channel(m_server.Port());
    Connect(channel);
    CReSender sender(&channel, m_path, Hooks());
    sender.Start();
    sender.QueueReplay();
    const std::optional<Bytes> first = NextRequest();
    ASSERT_TRUE(first);
    EXPECT_EQ(Field32(*first, HDR_COMMAND), CMD_STARTUP);
    EXPECT_FALSE(std::filesystem::exists(m_path));
}

TEST_F(ReSender, APayoutGoesOnlyAfterItsFloatReportWasAcknowledged) {
    ASSERT_TRUE(WriteWholeFile(m_path, "4||1||0||2||0||1||\r\n"));
    CTestChannel channel(m_server.Port());
    Connect(channel);
    CReSender sender(&channel, m_path, Hooks());
    sender.Start();

    sender.QueueReplay();
    ExpectAndAnswer(CMD_FLOAT_REPORT, 0);
    EXPECT_EQ(NextRequest().value_or(Bytes{}).size(), 36u) << "the start-up notice, no payout";
    EXPECT_EQ(FileLines(), Lines{"4||1||0||2||0||1||"});

    sender.QueueReplay();
    const Bytes counts = ExpectAndAnswer(CMD_FLOAT_REPORT, 1);
    EXPECT_EQ((Bytes{counts.begin() + 36, counts.begin() + 56}),
              (Bytes{7, 0, 0, 0, 6, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0}))
        << "the counts of now";
    const Bytes payout = ExpectAndAnswer(CMD_PAYOUT_REPORT, 1);
    EXPECT_EQ(Field32(payout, 36), 1u);
    EXPECT_EQ(Field32(payout, 44), 2u);
    EXPECT_EQ(Field32(payout, 52), 1u);
    ASSERT_TRUE(NextRequest());
    EXPECT_FALSE(std::filesystem::exists(m_path));
}

TEST_F(ReSender, AnAnswerToAnotherCommandAcknowledgesNothing) {
    CTestChannel channel(m_server.Port());
    Connect(channel);
    CReSender sender(&channel, m_path, Hooks());
    sender.Start();
    EXPECT_EQ(sender.HandOver(stDeviceEvent{101, 0, "컨트롤 보드 연결 실패", 0}),
              CReSender::HANDED_SENDING);
    const std::optional<Bytes> event = NextRequest();
    ASSERT_TRUE(event);
    Answer(*event, 1, CMD_STEP_REPORT);
    ASSERT_TRUE(WaitUntil([&] { return m_server.Receive().has_value(); })) << "its client closed";
    EXPECT_EQ(FileLines().size(), 1u);

    EXPECT_EQ(sender.HandOver(stStepReport{16, "305", 0}), CReSender::HANDED_SENDING);
    ExpectAndAnswer(CMD_DEVICE_EVENT, 1);
    ExpectAndAnswer(CMD_STEP_REPORT, 1);
    ASSERT_TRUE(WaitUntil([&] { return !std::filesystem::exists(m_path); }));
}

TEST_F(ReSender, StoppingEndsAWaitForASilentServerAndKeepsTheReport) {
    CTestChannel channel(m_server.Port());
    Connect(channel);
    CReSender sender(&channel, m_path, Hooks());
    sender.Start();
    sender.HandOver(stStepReport{0, "a", 0});
    ASSERT_TRUE(NextRequest()) << "sent; the server never answers, and time stands still";
    sender.Stop();
    EXPECT_EQ(FileLines(), Lines{"1||0||a||"});
}

TEST_F(ReSender, HandOversAreKeptWithoutALinkAndRefusedWithoutAChannel) {
    CTestChannel channel(m_server.Port());
    CReSender sender(&channel, m_path, Hooks());
    sender.Start();
    EXPECT_EQ(sender.HandOver(stMoneyReport{CMD_CASH_IN_REPORT, 1, 0, 0, 0, 0}),
              CReSender::HANDED_KEPT);
    EXPECT_EQ(FileLines(), Lines{"3||1||0||0||0||0||"}) << "on disk when the hand-over returns";

    CReSender without(nullptr, m_path, Hooks());
    EXPECT_EQ(without.HandOver(stStepReport{0, "a", 0}), CReSender::HAND_OVER_REFUSED);
    EXPECT_EQ(FileLines().size(), 1u);
}

}  // namespace

}  // namespace hx
