// vcatsim as its own process, spoken to over real loopback TCP the way the
// kiosk's terminal control speaks to it: one request per connection.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/tcp_stream.h"
#include "platform/terminal_frames.h"
#include "tests/support/temp_folder.h"
#include "tools/vcatsim/terminal_answers.h"
#include "tools/vcatsim/testing_vcatsim.h"

namespace hx {

namespace {

const char kAddress[] = "127.61.13.55";
constexpr uint16_t kPort = 13855;

// Every frame the terminal sends on a connection until it closes it.
std::vector<stTerminalFrame> FramesUntilClosed(CTcpStream& connection) {
    std::string bytes;
    const auto deadline = std::chrono::steady_clock::now() + kTestPatience;
    while (connection.ReceiveSome(bytes, deadline)) {
    }
    std::vector<stTerminalFrame> frames;
    std::span<const uint8_t> rest(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    for (stTerminalFrameRead read = DecodeTerminalFrame(rest);
         read.status == stTerminalFrameRead::Complete; read = DecodeTerminalFrame(rest)) {
        frames.push_back(read.frame);
        rest = rest.subspan(read.consumed);
    }
    EXPECT_TRUE(rest.empty()) << "whole frames only";
    return frames;
}

bool SendRequest(CTcpStream& connection, std::vector<std::pair<int16_t, std::string>> fields) {
    stTerminalFrame request;
    request.fields = std::move(fields);
    return connection.Connect(kAddress, kPort) && connection.SendAll(EncodeTerminalFrame(request));
}

std::vector<stTerminalFrame> Exchange(std::vector<std::pair<int16_t, std::string>> fields) {
    CTcpStream connection;
    EXPECT_TRUE(SendRequest(connection, std::move(fields)));
    return FramesUntilClosed(connection);
}

TEST(VCatSimProcessTest, ApprovesCancelsOnceAndEndsASilentRequestWithAnExitFrame) {
    CTempFolder folder("vcatsim");
    CVCatSimProcess vcatsim(kAddress, kPort, folder.Path());
    ASSERT_TRUE(vcatsim.WaitUntilListening());

    const std::vector<stTerminalFrame> approval = Exchange({{1, "0101"}, {3, "55000"}});
    ASSERT_EQ(approval.size(), 4u);
    EXPECT_EQ(approval[0].state, "1I");
    EXPECT_EQ(approval[3].kind, enumTerminalFrame::Answer);
    EXPECT_EQ(FieldText(approval[3], 17), "00");
    const std::string approvalNo = FieldText(approval[3], 8);

    for (const char* expected : {"00", "8B"}) {
        const std::vector<stTerminalFrame> cancel =
            Exchange({{1, "2101"}, {3, "55000"}, {12, approvalNo}});
        ASSERT_FALSE(cancel.empty());
        EXPECT_EQ(FieldText(cancel.back(), 17), expected);
    }
    EXPECT_TRUE(Exchange({{1, "7777"}}).empty()) << "an unknown request is closed unanswered";

    // A kiosk that gives up on a silent terminal frees its connection.
    EXPECT_EQ(vcatsim.Command("next silent"), "ok next silent (queued 1)");
    CTcpStream givenUp;
    ASSERT_TRUE(SendRequest(givenUp, {{1, "0101"}, {3, "1000"}}));
    ASSERT_TRUE(WaitUntil([&] { return !vcatsim.Events("silent").empty(); }));
    givenUp.Close();
    ASSERT_TRUE(WaitUntil([&] { return !vcatsim.Events("given up").empty(); }));

    // One still waiting when the program ends is told so.
    EXPECT_EQ(vcatsim.Command("next silent"), "ok next silent (queued 1)");
    CTcpStream silent;
    ASSERT_TRUE(SendRequest(silent, {{1, "0101"}, {3, "1000"}}));
    ASSERT_TRUE(WaitUntil([&] { return vcatsim.Events("silent").size() == 2; }));
    EXPECT_EQ(vcatsim.Command("quit"), "ok quitting");
    const std::vector<stTerminalFrame> ending = FramesUntilClosed(silent);
    ASSERT_EQ(ending.size(), 1u);
    EXPECT_EQ(ending[0].kind, enumTerminalFrame::Exit);
    EXPECT_EQ(vcatsim.Stop(), 0);

    const std::vector<nlohmann::json> approvals = vcatsim.Approvals();
    ASSERT_EQ(approvals.size(), 1u);
    EXPECT_EQ(approvals[0]["approvalNo"], approvalNo);
    EXPECT_EQ(approvals[0]["amount"], "55000");
    EXPECT_EQ(vcatsim.Cancels().size(), 1u);
    EXPECT_EQ(vcatsim.Events("cancel refused").size(), 1u);
    EXPECT_EQ(vcatsim.Events("request").size(), 6u);
}

TEST(VCatSimProcessTest, RefusesAFrameOverTheLimitWithoutReadingIt) {
    CTempFolder folder("vcatsim");
    CVCatSimProcess vcatsim("127.61.13.56", kPort, folder.Path());
    ASSERT_TRUE(vcatsim.WaitUntilListening());
    CTcpStream connection;
    ASSERT_TRUE(connection.Connect("127.61.13.56", kPort));
    const uint32_t tooLong = kMaxTerminalFrame + 1;
    const uint8_t header[] = {
        static_cast<uint8_t>(tooLong >> 24), static_cast<uint8_t>(tooLong >> 16),
        static_cast<uint8_t>(tooLong >> 8), static_cast<uint8_t>(tooLong), 'Q'};
    ASSERT_TRUE(connection.SendAll(header));
    EXPECT_TRUE(FramesUntilClosed(connection).empty());
    EXPECT_TRUE(WaitUntil([&] { return !vcatsim.Events("bad frame").empty(); }));
    EXPECT_EQ(vcatsim.Stop(), 0);
}

TEST(VCatSimProcessTest, ClosesAConnectionOverTheLimitAtOnce) {
    CTempFolder folder("vcatsim");
    CVCatSimProcess vcatsim("127.61.13.57", kPort, folder.Path());
    ASSERT_TRUE(vcatsim.WaitUntilListening());
    constexpr int kLimit = 8;
    std::vector<CTcpStream> held(kLimit);
    // Silent requests hold their connections for as long as the test takes.
    for (CTcpStream& connection : held) {
        ASSERT_TRUE(vcatsim.Command("next silent").starts_with("ok"));
        ASSERT_TRUE(connection.Connect("127.61.13.57", kPort));
        stTerminalFrame request;
        request.fields = {{1, "0101"}, {3, "1000"}};
        ASSERT_TRUE(connection.SendAll(EncodeTerminalFrame(request)));
    }
    ASSERT_TRUE(WaitUntil([&] { return vcatsim.Events("silent").size() == kLimit; }));
    CTcpStream refused;
    ASSERT_TRUE(refused.Connect("127.61.13.57", kPort));
    EXPECT_TRUE(FramesUntilClosed(refused).empty());
    EXPECT_EQ(vcatsim.Events("refused connection").size(), 1u);
    EXPECT_EQ(vcatsim.Stop(), 0);
    for (CTcpStream& connection : held) {
        const std::vector<stTerminalFrame> ending = FramesUntilClosed(connection);
        ASSERT_EQ(ending.size(), 1u);
        EXPECT_EQ(ending[0].kind, enumTerminalFrame::Exit);
    }
}

}  // namespace

}  // namespace hx
