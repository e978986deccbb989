#include "tools/boardsim/control_board.h"

#include <gtest/gtest.h>

#include "tools/boardsim/board_console.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

// A board with no gap between writes, driven by the PC's bytes and console lines.
class CBoardUnderTest {
public:
    CBoardUnderTest()
        : m_outbox(0ms),
          m_board(stBoardState{}, m_outbox,
                  [this](const nlohmann::json& e) { events.push_back(e); }),
          m_console(m_board, m_outbox) {}

    // What the board writes in answer to the PC's bytes.
    std::vector<Bytes> Command(const Bytes& bytes) {
        for (const stLinePiece& piece : m_reader.Feed(bytes)) {
            EXPECT_TRUE(piece.command) << piece.problem;
            if (piece.command) {
                m_board.Handle(*piece.command);
            }
        }
        return Drain();
    }
    std::string Console(const std::string& line) { return m_console.Execute(line); }
    std::vector<Bytes> Drain() {
        std::vector<Bytes> writes;
        while (auto write = m_outbox.TakeDue(CBoardOutbox::Clock::now())) {
            writes.push_back(std::move(*write));
        }
        return writes;
    }
    const stBoardState& State() const { return m_board.State(); }

    std::vector<nlohmann::json> events;

private:
    CBoardOutbox m_outbox;
    CControlBoard m_board;
    CBoardConsole m_console;
    CBoardCommandReader m_reader;
};

const Bytes kAck{0x11};
const Bytes kOpenBills{0x5B, 0xA4, 0x03, 0x10, 0x81, 0x00, 0x92};
const Bytes kCloseBillsReset{0x5B, 0xA4, 0x03, 0x10, 0x02, 0x00, 0x11};
const Bytes kOpenCoins{0x63, 0x9C, 0x02, 0x00, 0x01, 0x03};

TEST(ControlBoardTest, AnswersEachCommandAsTheKioskExpects) {
    const struct {
        const char* what;
        std::vector<std::string> console;  // run before the command
        Bytes command;
        std::vector<Bytes> answer;
    } cases[] = {
        {"all bill data: acceptor off, no door news, no bills",
         {},
         {0x59, 0xA6},
         {{0x33, 0x0A, 0x03, 0x1B, 0x00, 0x00, 0x05, 0x18, 0x00, 0x00, 0x00, 0x00, 0x0F}}},
        {"all coin data",
         {},
         {0x61, 0x9E},
         {{0x33, 0x09, 0x02, 0x0B, 0x00, 0x05, 0x08, 0x00, 0x00, 0x00, 0x00, 0x0D}}},
        {"all dispenser data: nothing low or faulty",
         {},
         {0x71, 0x8E},
         {{0x33, 0x06, 0x05, 0x16, 0x00, 0x00, 0x00, 0x00, 0x15}}},
        {"announced data command", {}, {0x5B, 0xA4}, {kAck}},
        {"open the bill inlet", {}, kOpenBills, {kAck}},
        {"board signal", {}, {0x73, 0x8C, 0x05, 0x04, 0x00, 0x03, 0x11, 0x00, 0x13}, {kAck}},
        {"initialise the hopper",
         {},
         {0x73, 0x8C, 0x05, 0x01, 0x01, 0x00, 0x00, 0x00, 0x05},
         {kAck}},
        {"pay 3 coins, 2 notes of 1,000 and 1 of 5,000",
         {},
         {0x73, 0x8C, 0x05, 0x00, 0x03, 0x00, 0x02, 0x01, 0x05},
         {kAck,
          {0x33, 0x0C, 0x05, 0x15, 0x03, 0x00, 0x02, 0x01, 0x05, 0x16, 0x00, 0x00, 0x00, 0x00,
           0x0F}}},
        {"a dispenser with one note pays it and reports itself empty and low",
         {"stock dispenser1 1"},
         {0x73, 0x8C, 0x05, 0x00, 0x00, 0x00, 0x02, 0x00, 0x07},
         {kAck,
          {0x33, 0x0C, 0x05, 0x15, 0x00, 0x00, 0x01, 0x00, 0x05, 0x16, 0x00, 0x00, 0x03, 0x00,
           0x0D}}},
        {"a faulty dispenser pays nothing",
         {"fault dispenser2 on"},
         {0x73, 0x8C, 0x05, 0x00, 0x00, 0x00, 0x00, 0x01, 0x04},
         {kAck,
          {0x33, 0x0C, 0x05, 0x15, 0x00, 0x00, 0x00, 0x00, 0x05, 0x16, 0x00, 0x00, 0x00, 0x05,
           0x0A}}},
    };
    for (const auto& c : cases) {
        CBoardUnderTest board;
        for (const std::string& line : c.console) {
            board.Console(line);
        }
        board.Drain();
        EXPECT_EQ(board.Command(c.command), c.answer) << c.what;
    }
}

TEST(ControlBoardTest, CountsNotesAndCoinsAsRunningTotalsUntilAReset) {
    CBoardUnderTest board;
    EXPECT_EQ(board.Console("bill 10000"), "error: refused: the bill inlet is closed");
    EXPECT_TRUE(board.Drain().empty());
    board.Command(kOpenBills);
    board.Command(kOpenCoins);
    EXPECT_EQ(board.Console("bill 10000"), "ok bills 1000=0 5000=0 10000=1 50000=0");
    EXPECT_EQ(board.Console("bill 5000"), "ok bills 1000=0 5000=1 10000=1 50000=0");
    EXPECT_EQ(board.Console("coin 500"), "ok coins 100=0 500=1");
    EXPECT_EQ(board.Console("bill 2000"), "error: refused: no such bill value");
    EXPECT_EQ(board.Drain(), (std::vector<Bytes>{
                                 {0x33, 0x06, 0x05, 0x18, 0x00, 0x00, 0x01, 0x00, 0x1A},
                                 {0x33, 0x06, 0x05, 0x18, 0x00, 0x01, 0x01, 0x00, 0x1B},
                                 {0x33, 0x06, 0x05, 0x08, 0x00, 0x00, 0x00, 0x01, 0x0A},
                             }));
    // Only the new totals go in answer to a changed-data request.
    EXPECT_EQ(board.Command({0x5A, 0xA5}),
              (std::vector<Bytes>{{0x33, 0x04, 0x03, 0x1B, 0x01, 0x00, 0x1D}}));
    EXPECT_EQ(board.Command({0x5A, 0xA5}), std::vector<Bytes>{kAck});
    board.Command(kCloseBillsReset);
    EXPECT_EQ(board.State().bills, (std::array<int, 4>{}));
    EXPECT_EQ(board.State().coins, (std::array<int, 2>{0, 1}));
}

TEST(ControlBoardTest, ACountNeverPassesWhatTheKioskReadsAsPositive) {
    CBoardUnderTest board;
    board.Command(kOpenCoins);
    for (int i = 0; i < kMaxBoardCount; ++i) {
        ASSERT_TRUE(board.Console("coin 100").starts_with("ok"));
    }
    EXPECT_EQ(board.Console("coin 100"), "error: refused: that count is full until the next reset");
    EXPECT_EQ(board.State().coins[0], 127);
}

TEST(ControlBoardTest, ASilencedCommandIsCarriedOutUnanswered) {
    CBoardUnderTest board;
    EXPECT_EQ(board.Console("misbehave silent 2"), "ok misbehave silent 2");
    EXPECT_TRUE(board.Command({0x73, 0x8C, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x04}).empty());
    EXPECT_TRUE(board.Command(kOpenBills).empty());
    EXPECT_EQ(board.State().dispenser1.stock, 99);
    EXPECT_TRUE(board.State().billInletOpen);
    EXPECT_EQ(board.Command({0x5B, 0xA4}), std::vector<Bytes>{kAck});
}

TEST(ControlBoardTest, ConsoleChangesAreReportedAtOnce) {
    const struct {
        std::string line;
        std::string reply;
        std::vector<Bytes> written;
    } cases[] = {
        {"door open", "ok door open", {{0x22, 0x03, 0x1B, 0x00, 0x30}}},
        {"door open-quiet", "ok door open-quiet", {{0x22, 0x03, 0x1B, 0x00, 0x20}}},
        {"door close", "ok door close", {{0x22, 0x03, 0x1B, 0x00, 0x10}}},
        {"fault bill on", "ok fault bill on", {{0x22, 0x03, 0x1B, 0x04, 0x00}}},
        {"fault coin on", "ok fault coin on", {{0x22, 0x02, 0x0B, 0x80}}},
        {"fault hopper on", "ok fault hopper on", {{0x22, 0x05, 0x16, 0x01, 0x00, 0x00, 0x00}}},
        {"low dispenser2 on", "ok low dispenser2 on", {{0x22, 0x05, 0x16, 0x00, 0x00, 0x00, 0x02}}},
        {"stock dispenser1 9",
         "ok stock dispenser1 9",
         {{0x22, 0x05, 0x16, 0x00, 0x00, 0x02, 0x00}}},
        {"low hopper on", "error: low dispenser1|dispenser2 on|off", {}},
        {"stock coin 3", "error: stock hopper|dispenser1|dispenser2 COUNT", {}},
        {"door ajar", "error: door open|open-quiet|close", {}},
        {"misbehave loudly", "error: misbehave silent|merge|bad-bcc|split [TIMES]", {}},
        {"bill", "error: bill VALUE", {}},
        {"", "error: say bill|coin|door|fault|low|stock|misbehave|status|quit", {}},
    };
    for (const auto& c : cases) {
        CBoardUnderTest board;
        EXPECT_EQ(board.Console(c.line), c.reply) << c.line;
        EXPECT_EQ(board.Drain(), c.written) << c.line;
    }
}

}  // namespace

}  // namespace hx
