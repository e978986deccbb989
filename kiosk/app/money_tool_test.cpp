#include "kiosk/app/money_tool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "kiosk/support/money_journal.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

using K = enumMoneyKind;

class MoneyTool : public ::testing::Test {
protected:
    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--drive", m_drive.Folder().string()});
        m_out.str({});
        m_err.str({});
        return HxMoneyMain(args, m_out, m_err);
    }

    void Write(stMoneyEntry entry) {
        entry.time = "2026-12-10 " + entry.time;
        ASSERT_TRUE(m_journal.Append(entry));
    }

    CTempDrive m_drive;
    CMoneyJournal m_journal;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(MoneyTool, PrintsTheDaysEntriesAndWhatIsStillOpen) {
    ASSERT_TRUE(m_journal.Open(CMoneyJournal::DefaultFile()));
    Write(
        {.time = "21:58:00", .kind = K::FloatLoaded, .pieces = {.notes1000 = 100, .keyCards = 9}});
    Write({.time = "21:59:00", .kind = K::InletsOpened, .target = 35000});
    Write({.time = "21:59:30", .kind = K::MoneyCounted, .received = 10000, .target = 35000});
    Write({.time = "22:00:00",
           .kind = K::PayoutRequested,
           .won = 10000,
           .pieces = {.notes5000 = 1, .coins100 = 50}});
    EXPECT_EQ(Run({"2026-12-10"}), 0) << m_err.str();
    EXPECT_NE(m_out.str().find("지금 열린 현금:\n"
                               "  2026-12-10 21:59:00 방출 확인 안됨 10,000원 (투입 10,000원)\n"),
              std::string::npos)
        << m_out.str();

    ASSERT_TRUE(m_journal.Append({.time = "2026-12-11 09:00:00", .kind = K::Reconciled}));

    EXPECT_EQ(Run({"2026-12-10"}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(),
              "2026-12-10 현금 장부 (4건)\n"
              "21:58:00  시재 읽음  1,000원권 100장, 5,000원권 0장, 10,000원권 0장, RF카드 9장\n"
              "21:59:00  투입구 열림  목표 35,000원\n"
              "21:59:30  투입 합계  10,000원 (목표 35,000원)\n"
              "22:00:00  방출 요청  10,000원 [5,000원권 1장, 100원 50장]\n"
              "\n"
              "점검: 현금 결제 1건\n"
              "지금 열린 현금: 없음\n"
              "점검에서 찾은 일: 없음\n"
              "합계가 맞지 않는 결제: 없음\n")
        << "the next day's start-up check took over the open payout";
}

TEST_F(MoneyTool, RefusesWhatItCannotRead) {
    EXPECT_EQ(Run({"2026-12-10"}), 1) << "no journal yet";
    EXPECT_EQ(Run({"yesterday"}), 2);
    EXPECT_NE(m_err.str().find("usage: hxmoney"), std::string::npos);
}

}  // namespace

}  // namespace hx
