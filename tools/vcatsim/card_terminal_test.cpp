#include "tools/vcatsim/card_terminal.h"

#include <gtest/gtest.h>

#include "platform/cp949.h"
#include "tools/vcatsim/terminal_console.h"

namespace hx {

namespace {

const stSaleTime kNow{"20261210", "101530"};

stTerminalFrame Request(std::vector<std::pair<int16_t, std::string>> fields) {
    stTerminalFrame frame;
    frame.fields = std::move(fields);
    return frame;
}

stTerminalFrame Approval(const std::string& amount) {
    return Request({{1, "0101"}, {2, "01"}, {3, amount}, {4, "4545"}, {6, "0"}, {9, "3"}});
}

stTerminalFrame Cancel(const std::string& approvalNo, const std::string& amount) {
    return Request({{1, "2101"},
                    {2, "01"},
                    {3, amount},
                    {4, "0"},
                    {9, "3"},
                    {12, approvalNo},
                    {13, kNow.date}});
}

std::vector<std::string> StatesOf(const stTerminalTurn& turn) {
    std::vector<std::string> states;
    for (const stTerminalFrame& frame : turn.frames) {
        if (frame.kind == enumTerminalFrame::State) {
            states.push_back(frame.state);
        }
    }
    return states;
}

class CardTerminalTest : public testing::Test {
protected:
    std::vector<nlohmann::json> m_events;
    CCardTerminal m_terminal{[this](nlohmann::json event) { m_events.push_back(event); }};
    CTerminalConsole m_console{m_terminal};

    const stTerminalFrame& Answer(const stTerminalTurn& turn) {
        EXPECT_FALSE(turn.frames.empty());
        return turn.frames.back();
    }
    std::vector<std::string> EventNames() const {
        std::vector<std::string> names;
        for (const nlohmann::json& event : m_events) {
            names.push_back(event["event"]);
        }
        return names;
    }
};

TEST_F(CardTerminalTest, AnApprovalFollowsTheScriptedOutcome) {
    struct stCase {
        const char* script;
        std::vector<std::string> states;
        enumTerminalFrame last;
        std::string responseCode;  // of an answer
        bool approvalNo;
        bool keepOpen;
        std::string event;
    };
    const std::vector<std::string> kDefault{"1I", "TS", "TE"};
    const stCase kCases[] = {
        {"", kDefault, enumTerminalFrame::Answer, "00", true, false, "approved"},
        {"next approve", kDefault, enumTerminalFrame::Answer, "00", true, false, "approved"},
        {"next decline 51 한도 초과", kDefault, enumTerminalFrame::Answer, "51", false, false,
         "declined"},
        {"next fallback",
         {"1M", "1I", "TS", "TE"},
         enumTerminalFrame::Answer,
         "00",
         true,
         false,
         "approved"},
        {"states none", {}, enumTerminalFrame::Answer, "00", true, false, "approved"},
        {"states 1C TE", {"1C", "TE"}, enumTerminalFrame::Answer, "00", true, false, "approved"},
        {"next silent", {}, enumTerminalFrame::Request, "", false, true, "silent"},
        {"next exit -3", {}, enumTerminalFrame::Exit, "", false, false, "exit"},
    };
    for (const stCase& test : kCases) {
        SCOPED_TRACE(test.script);
        m_events.clear();
        CCardTerminal terminal([this](nlohmann::json event) { m_events.push_back(event); });
        CTerminalConsole console(terminal);
        if (*test.script != '\0') {
            ASSERT_TRUE(console.Execute(test.script).starts_with("ok"));
        }
        const stTerminalTurn turn = terminal.Handle(Approval("50000"), kNow);
        EXPECT_EQ(StatesOf(turn), test.states);
        EXPECT_EQ(turn.keepOpen, test.keepOpen);
        EXPECT_EQ(EventNames(), (std::vector<std::string>{"request", test.event}));
        if (test.last == enumTerminalFrame::Request) {
            EXPECT_TRUE(turn.frames.empty());
            continue;
        }
        const stTerminalFrame& last = turn.frames.back();
        ASSERT_EQ(last.kind, test.last);
        if (last.kind == enumTerminalFrame::Exit) {
            EXPECT_EQ(last.exitCode, -3);
            continue;
        }
        EXPECT_EQ(FieldText(last, 1), "0102");
        EXPECT_EQ(FieldText(last, 4), "50000");
        EXPECT_EQ(FieldText(last, 17), test.responseCode);
        EXPECT_EQ(FieldText(last, 8).size(), test.approvalNo ? 8u : 0u);
        EXPECT_EQ(terminal.Ledger().Charges().size(), test.approvalNo ? 1u : 0u);
    }
}

TEST_F(CardTerminalTest, ScriptedOutcomesApplyToSuccessiveApprovalsThenApprovalsResume) {
    ASSERT_TRUE(m_console.Execute("next decline 05 거래 거절").starts_with("ok"));
    ASSERT_TRUE(m_console.Execute("next silent").starts_with("ok"));
    EXPECT_EQ(FieldText(Answer(m_terminal.Handle(Approval("1000"), kNow)), 17), "05");
    EXPECT_TRUE(m_terminal.Handle(Approval("1000"), kNow).keepOpen);
    EXPECT_EQ(FieldText(Answer(m_terminal.Handle(Approval("1000"), kNow)), 17), "00");
    // A cancel or a status check takes nothing from the script.
    ASSERT_TRUE(m_console.Execute("next exit 0").starts_with("ok"));
    m_terminal.Handle(Request({{1, "9001"}}), kNow);
    m_terminal.Handle(Cancel("30000001", "1000"), kNow);
    EXPECT_EQ(m_terminal.QueuedOutcomes(), 1u);
}

TEST_F(CardTerminalTest, AnApprovalAnswerCarriesWhatTheKioskReadsInCp949) {
    const stTerminalFrame answer = Answer(m_terminal.Handle(Approval("50000"), kNow));
    EXPECT_EQ(FieldText(answer, 3).size(), 16u);
    EXPECT_EQ(FieldText(answer, 7), "00");
    EXPECT_EQ(FieldText(answer, 9), "20261210");
    EXPECT_EQ(FieldText(answer, 10), "101530");
    EXPECT_EQ(FieldText(answer, 13), m_terminal.Info().terminalNo);
    EXPECT_EQ(FieldText(answer, 14), Cp949FromUtf8("0100BC카드"));
    EXPECT_EQ(FieldText(answer, 18), Cp949FromUtf8("정상승인"));
    EXPECT_FALSE(FieldText(answer, 12).empty());
    EXPECT_FALSE(FieldText(answer, 20).empty());
    const std::string second = FieldText(Answer(m_terminal.Handle(Approval("50000"), kNow)), 8);
    EXPECT_NE(FieldText(answer, 8), second) << "one approval number per approval";
}

TEST_F(CardTerminalTest, ACancelIsMadeOnceForAnApprovalThatExists) {
    const std::string approvalNo = FieldText(Answer(m_terminal.Handle(Approval("50000"), kNow)), 8);
    struct stCase {
        std::string approvalNo;
        std::string amount;
        std::string code;
        std::string event;
    };
    const stCase kCases[] = {
        {"99999999", "50000", "8A", "cancel refused"},
        {approvalNo, "50000", "00", "cancelled"},
        {approvalNo, "50000", "8B", "cancel refused"},
    };
    for (const stCase& test : kCases) {
        SCOPED_TRACE(test.approvalNo + " " + test.code);
        m_events.clear();
        const stTerminalFrame answer =
            Answer(m_terminal.Handle(Cancel(test.approvalNo, test.amount), kNow));
        EXPECT_EQ(FieldText(answer, 1), "2102");
        EXPECT_EQ(FieldText(answer, 8), test.approvalNo);
        EXPECT_EQ(FieldText(answer, 4), test.amount);
        EXPECT_EQ(FieldText(answer, 17), test.code);
        EXPECT_FALSE(FieldText(answer, 18).empty());
        EXPECT_EQ(EventNames(), (std::vector<std::string>{"request", test.event}));
    }
    EXPECT_EQ(m_terminal.Ledger().CancelCount(), 1);
}

TEST_F(CardTerminalTest, MerchantInformationPlacesTheWorkingKeyWhereTheKioskCutsIt) {
    const stTerminalTurn turn = m_terminal.Handle(Request({{1, "5201"}}), kNow);
    ASSERT_EQ(turn.frames.size(), 1u) << "a synchronous request gets no progress states";
    const stTerminalFrame& answer = turn.frames[0];
    EXPECT_EQ(FieldText(answer, 1), "5202");
    EXPECT_EQ(FieldText(answer, 13), "2393300001");
    const std::string filler = FieldText(answer, 25);
    ASSERT_GE(filler.size(), 60u);
    EXPECT_EQ(filler.substr(42, 16), m_terminal.Info().workingKey);
    EXPECT_EQ(filler.substr(58, 2), "07");
    EXPECT_EQ(FieldText(answer, 41), Cp949FromUtf8(m_terminal.Info().merchantName));
    for (const int16_t field : {40, 42, 43, 44, 45}) {
        EXPECT_FALSE(FieldText(answer, field).empty()) << field;
    }
}

TEST_F(CardTerminalTest, MerchantInformationFollowsTheInfoCommands) {
    struct stCase {
        const char* command;
        std::string code;
        std::string terminalNo;
    };
    const stCase kCases[] = {
        {"info terminal", "5202", ""},
        {"info terminal 1234567890", "5202", "1234567890"},
        {"info off", "5299", ""},
        {"info on", "5202", "1234567890"},
    };
    for (const stCase& test : kCases) {
        SCOPED_TRACE(test.command);
        ASSERT_TRUE(m_console.Execute(test.command).starts_with("ok"));
        const stTerminalFrame answer = Answer(m_terminal.Handle(Request({{1, "5201"}}), kNow));
        EXPECT_EQ(FieldText(answer, 1), test.code);
        EXPECT_EQ(FieldText(answer, 13), test.terminalNo);
    }
}

TEST_F(CardTerminalTest, StatusCheckIsAnsweredAndAnUnknownRequestIsJournalledUnanswered) {
    const stTerminalFrame status = Answer(m_terminal.Handle(Request({{1, "9001"}}), kNow));
    EXPECT_EQ(FieldText(status, 17), "00");
    EXPECT_FALSE(FieldText(status, 18).empty());

    m_events.clear();
    for (const stTerminalFrame& request : {Request({{1, "0201"}}), Request({{3, "5000"}})}) {
        const stTerminalTurn turn = m_terminal.Handle(request, kNow);
        EXPECT_TRUE(turn.frames.empty());
        EXPECT_FALSE(turn.keepOpen);
    }
    EXPECT_EQ(EventNames(), (std::vector<std::string>{"request", "unknown request", "request",
                                                      "unknown request"}));
    EXPECT_EQ(m_events[0]["fields"], nlohmann::json::parse(R"([[1, "0201"]])"));
    EXPECT_TRUE(m_terminal.Ledger().Charges().empty());
}

}  // namespace

}  // namespace hx
