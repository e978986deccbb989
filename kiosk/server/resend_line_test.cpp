#include "kiosk/server/resend_line.h"

#include <gtest/gtest.h>

#include "kiosk/records/kiosk_command.h"
#include "platform/cp949.h"
#include "tests/support/scoped_environment.h"

namespace hx {

namespace {

class ResendLine : public ::testing::Test {
protected:
    // Korean time, without daylight saving and without needing tzdata.
    const CScopedEnvironment m_zone{"TZ", "KST-9"};
    const int64_t m_moment = ResendTimeFromText("2026-12-09 23:05:07");
};

TEST_F(ResendLine, EachReportIsWrittenInItsFormatInCp949) {
    EXPECT_EQ(m_moment, 1765289107 + 365 * 86400);
    EXPECT_EQ(FormatResendLine(stStepReport{0, "305호", m_moment}),
              Cp949FromUtf8("1||0||305호||2026-12-09 23:05:07"));
    EXPECT_EQ(FormatResendLine(stDeviceEvent{202, 1, "1번 지폐 방출기 이상 해결", m_moment}),
              Cp949FromUtf8("2||202||1||1번 지폐 방출기 이상 해결||2026-12-09 23:05:07"));
    EXPECT_EQ(FormatResendLine(stMoneyReport{CMD_CASH_IN_REPORT, 1, 0, 1, 0, m_moment}),
              "3||1||0||1||0||0||2026-12-09 23:05:07");
    EXPECT_EQ(FormatResendLine(stMoneyReport{CMD_PAYOUT_REPORT, 2, 1, 0, 1, 0}),
              "4||2||1||0||0||1||");
    EXPECT_EQ(FormatResendLine(stMoneyReport{CMD_FLOAT_REPORT, 2, 1, 0, 1, 0}), "");
}

TEST_F(ResendLine, TextsLoseLineBreaksButKeepTheirSeparatorsAndReadBackWhole) {
    for (const char* text : {"대실||305", "|", "||", "|a||", "a|||b|"}) {
        const std::optional<stResendReport> back =
            ParseResendLine(FormatResendLine(stStepReport{1, text, m_moment}));
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(back->step.text, text);
        EXPECT_EQ(back->step.time, m_moment) << text;
    }
    EXPECT_EQ(FormatResendLine(stStepReport{1, "a\r\nb", 0}), "1||1||a  b||");

    const std::optional<stResendReport> event = ParseResendLine(
        Cp949FromUtf8("2||402||0||신용카드 결제 실패 [05]||한도||2026-12-09 23:05:07"));
    ASSERT_TRUE(event);
    EXPECT_EQ(event->type, RESEND_EVENT);
    EXPECT_EQ(event->event.code, 402);
    EXPECT_EQ(event->event.text, "신용카드 결제 실패 [05]||한도");
    EXPECT_EQ(event->event.time, m_moment);
}

TEST_F(ResendLine, LinesReadBackIntoTheirReports) {
    const std::optional<stResendReport> money = ParseResendLine(" 4 || 1,000 ||x||3||9||1||");
    ASSERT_TRUE(money);
    EXPECT_EQ(money->type, RESEND_PAYOUT);
    EXPECT_EQ(money->money.command, CMD_PAYOUT_REPORT);
    EXPECT_EQ(money->money.notes1000, 1000) << "blanks trimmed, commas dropped";
    EXPECT_EQ(money->money.notes5000, 0) << "not a number";
    EXPECT_EQ(money->money.notes10000, 3);
    EXPECT_EQ(money->money.keyCards, 1);
    EXPECT_EQ(money->money.time, 0) << "an empty time";

    ASSERT_TRUE(ParseResendLine("5"));
    EXPECT_EQ(ParseResendLine("5")->type, RESEND_FLOAT);
    EXPECT_EQ(ParseResendLine("3||1||0||1||0||0||2026-12-09 23:05:07")->money.command,
              CMD_CASH_IN_REPORT);
}

TEST_F(ResendLine, UnknownTypesAndShortLinesHaveNoReport) {
    for (const char* line : {"9||1||a||", "0", "", "x||1", "1||0||no time", "2||1||0",
                             "3||1||0||1||0||0", "||1||a||b"}) {
        EXPECT_FALSE(ParseResendLine(line)) << line;
    }
}

TEST_F(ResendLine, TimesNotInTheFixedFormReadAsZero) {
    for (const char* text : {"", "2026-12-09", "2026/12/09 23:05:0x", "abcd-ef-gh ij:kl:mn"}) {
        EXPECT_EQ(ResendTimeFromText(text), 0) << text;
    }
    EXPECT_EQ(ResendTimeFromText("2026-12-09T23:05:07 and more"), m_moment) << "by position";
    EXPECT_EQ(ResendTimeText(m_moment), "2026-12-09 23:05:07");
}

}  // namespace

}  // namespace hx
