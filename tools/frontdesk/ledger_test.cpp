#include "tools/frontdesk/ledger.h"

#include <gtest/gtest.h>

#include <fstream>

#include "kiosk/records/kiosk_command.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

stLedgerSale CashSale(int32_t roomNo, int32_t amount) {
    stLedgerSale sale;
    sale.time = 1700000000;
    sale.roomNo = roomNo;
    sale.stayType = 1;
    sale.amount = amount;
    sale.cashAmount = amount;
    sale.endTime = "2023-11-15 02:13:20";
    return sale;
}

stMoneyReport Notes(uint32_t command, int32_t n1000, int32_t n5000, int32_t n10000,
                    int32_t cards = 0) {
    stMoneyReport report;
    report.command = command;
    report.notes1000 = n1000;
    report.notes5000 = n5000;
    report.notes10000 = n10000;
    report.keyCards = cards;
    return report;
}

class LedgerTest : public ::testing::Test {
protected:
    std::filesystem::path File() const { return m_folder.Folder() / "ledger.json"; }
    CTempDrive m_folder;
};

TEST_F(LedgerTest, SummarizesEachKioskAndSurvivesARestart) {
    {
        CLedger ledger(File());
        std::string error;
        ASSERT_TRUE(ledger.Load(error)) << "a missing file is an empty ledger";
        ASSERT_TRUE(ledger.RecordSale(1, CashSale(201, 30000), 1));
        stLedgerSale card = CashSale(301, 40000);
        card.cashAmount = 0;
        card.cardAmount = 40000;
        card.approvalNo = "12345678";
        ASSERT_TRUE(ledger.RecordSale(1, card, 1));
        ASSERT_TRUE(ledger.RecordSale(2, CashSale(202, 30000), 5));
        ASSERT_TRUE(ledger.RecordReport(1, Notes(CMD_CASH_IN_REPORT, 1, 1, 1), 0));
        ASSERT_TRUE(ledger.RecordReport(1, Notes(CMD_CASH_IN_REPORT, 0, 0, 1), 0));
        ASSERT_TRUE(ledger.RecordReport(1, Notes(CMD_PAYOUT_REPORT, 2, 1, 0, 1), 0));
        ASSERT_TRUE(ledger.RecordReport(1, Notes(CMD_FLOAT_REPORT, 50, 40, 30, 99), 0));
        ASSERT_TRUE(ledger.RecordReport(1, CMD_STEP_REPORT, 0));
    }
    CLedger reopened(File());
    std::string error;
    ASSERT_TRUE(reopened.Load(error)) << error;
    const stSalesSummary first = reopened.Summary(1);
    EXPECT_EQ(first.totalSales, 70000);
    EXPECT_EQ(first.cashSales, 30000);
    EXPECT_EQ(first.cardSales, 40000);
    EXPECT_EQ(first.cardApprovals, 1);
    EXPECT_EQ(first.cardApprovalsAmount, 40000);
    EXPECT_EQ(first.inserted1000, 1);
    EXPECT_EQ(first.inserted10000, 2);
    EXPECT_EQ(first.returned1000, 2) << "the float report is no payout";
    EXPECT_EQ(first.returned5000, 1);
    EXPECT_EQ(first.keyCardsIssued, 1);
    EXPECT_EQ(reopened.Summary(2).totalSales, 30000);
    EXPECT_EQ(reopened.Summary(3).totalSales, 0);
    EXPECT_EQ(reopened.Book().roomStates.at(202), 5);
    EXPECT_EQ(reopened.Book().periods.at(1).reportCounts.at(CMD_STEP_REPORT), 1);
    EXPECT_EQ(reopened.Book().periods.at(1).sales[1].approvalNo, "12345678");
}

TEST_F(LedgerTest, SettlementClosesOneKioskOnlyAndIsKept) {
    CLedger ledger(File());
    ASSERT_TRUE(ledger.RecordSale(1, CashSale(201, 30000), 1));
    ASSERT_TRUE(ledger.RecordSale(2, CashSale(202, 50000), 1));
    ASSERT_TRUE(ledger.Settle(1, 1700003600));
    EXPECT_EQ(ledger.Summary(1).totalSales, 0);
    EXPECT_EQ(ledger.Summary(2).totalSales, 50000);
    CLedger reopened(File());
    std::string error;
    ASSERT_TRUE(reopened.Load(error));
    ASSERT_EQ(reopened.Book().settlements.size(), 1u);
    EXPECT_EQ(reopened.Book().settlements[0].terminalNo, 1u);
    EXPECT_EQ(reopened.Book().settlements[0].summary.totalSales, 30000);
    EXPECT_EQ(reopened.Book().periods.at(1).openedAt, 1700003600);
}

TEST_F(LedgerTest, DamagedFileIsNeverWrittenOver) {
    const std::string damaged = R"({"periods": {"1": {"openedAt": "yesterday"}}})";
    std::ofstream(File()) << damaged;
    CLedger ledger(File());
    std::string error;
    EXPECT_FALSE(ledger.Load(error));
    EXPECT_NE(error.find("damaged"), std::string::npos);
    EXPECT_FALSE(ledger.RecordSale(1, CashSale(201, 30000), 1));
    EXPECT_EQ(ReadWholeFile(File()), damaged);
}

TEST_F(LedgerTest, AChangeThatCannotBeWrittenIsNotMade) {
    CLedger ledger(m_folder.Folder() / "missing-folder" / "ledger.json");
    EXPECT_FALSE(ledger.RecordSale(1, CashSale(201, 30000), 1));
    EXPECT_FALSE(ledger.SetRoomState(201, 1));
    EXPECT_EQ(ledger.Summary(1).totalSales, 0);
    EXPECT_TRUE(ledger.Book().roomStates.empty());
}

}  // namespace

}  // namespace hx
