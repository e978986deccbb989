#include "kiosk/cash/pcb_dlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kiosk/support/serial_chunks.h"
#include "platform/serial_test_support.h"

namespace hx {

namespace {

using Calls = std::vector<std::string>;

// The board window on a pseudo-terminal whose far end the test plays.
class PCBDlg : public CSerialPortTest {
protected:
    void TearDown() override {
        m_board.reset();
        CSerialPortTest::TearDown();
    }

    void CreateBoard() {
        m_board = std::make_unique<CPCBDlg>(stBoardHooks{
            [this](int code, int state) {
                m_calls.push_back("event " + std::to_string(code) + " " + std::to_string(state));
            },
            nullptr,
            [this](const stBillsCounted& bills) {
                m_calls.push_back("bills " + std::to_string(bills.billsAmount));
            },
            nullptr, nullptr, nullptr, nullptr, [this] { return m_paying; }});
        ASSERT_TRUE(m_board->Create());
    }

    Calls m_calls;
    bool m_paying = false;
    std::unique_ptr<CPCBDlg> m_board;
};

TEST_F(PCBDlg, CommandsGoOutPacedAndRecordsComeBackFromTheLine) {
    CreateBoard();
    ASSERT_TRUE(m_board->OpenBoardPort());
    EXPECT_EQ(m_calls, Calls{"event 101 1"});
    m_board->PollCashDevices();
    PumpMessagesFor(CBoardCommandQueue::kTickMs);
    EXPECT_EQ(m_device.Read(2, kTestPatience), std::string("\x59\xA6", 2))
        << "the bill acceptor's all-data request";

    m_calls.clear();
    ASSERT_TRUE(m_device.WriteAll(std::string("\x22\x05\x18\x00\x01\x03\x00", 7)));
    EXPECT_TRUE(PumpUntil([&] { return !m_calls.empty(); }));
    EXPECT_EQ(m_calls, Calls{"bills 35000"});
    EXPECT_NE(m_board->Monitor().LastDump().find("22 05 18 00 01 03 00"), std::string::npos);
}

// A board that sent more than one piece's worth before the kiosk read it
// (a busy kiosk): the frame across the pieces' edge still counts.
TEST_F(PCBDlg, RecordsOfALongBurstAreAllRead) {
    CreateBoard();
    ASSERT_TRUE(m_board->OpenBoardPort());
    m_calls.clear();
    std::string burst;
    for (char notes = 1; notes <= 12; ++notes) {
        burst += std::string("\x33\x06\x05\x18", 4) + notes + std::string(3, '\0') +
                 static_cast<char>(0x1B ^ notes);
    }
    ASSERT_GT(burst.size(), kSerialChunkSize);
    ASSERT_TRUE(m_device.WriteAll(burst));
    EXPECT_TRUE(PumpUntil([&] { return m_calls.size() == 12; }));
    EXPECT_EQ(m_calls.back(), "bills 12000") << "the twelfth frame spans bytes 99 to 107";
}

TEST_F(PCBDlg, TheStartUpResetWaitsForAGuestWhoIsAlreadyPaying) {
    CreateBoard();
    ASSERT_TRUE(m_board->OpenBoardPort());
    m_paying = true;
    ASSERT_TRUE(m_device.WriteAll(std::string("\x22\x05\x18\x00\x01\x03\x00", 7)));
    ASSERT_TRUE(PumpUntil([&] { return m_board->Devices().BillsAmount() == 35000; }));
    PumpMessagesFor(CPCBDlg::kStartUpMs);
    EXPECT_EQ(m_board->Devices().BillsAmount(), 35000) << "the guest's money is still counted";
    EXPECT_EQ(m_board->Monitor().Rows().back().content, "결제 중: 연기");

    m_paying = false;
    PumpMessagesFor(CPCBDlg::kStartUpMs);
    EXPECT_EQ(m_board->Devices().BillsAmount(), 0) << "reset once the payment is over";
}

TEST_F(PCBDlg, ALineThatGoesAwayClosesThePortAndSaysSo) {
    CreateBoard();
    ASSERT_TRUE(m_board->OpenBoardPort());
    m_calls.clear();
    m_device.CloseMaster();
    EXPECT_TRUE(PumpUntil([&] { return !m_calls.empty(); }));
    EXPECT_EQ(m_calls, Calls{"event 101 0"});
    EXPECT_FALSE(m_board->IsPortOpen());
}

TEST_F(PCBDlg, APortThatCannotOpenIsAnEventAndARow) {
    std::filesystem::remove(m_drive.Folder() / "dosdevices" / "com3");
    CreateBoard();
    EXPECT_FALSE(m_board->OpenBoardPort());
    EXPECT_EQ(m_calls, Calls{"event 101 0"});
    ASSERT_FALSE(m_board->Monitor().Rows().empty());
    EXPECT_EQ(m_board->Monitor().Rows().back().content, "연결실패!!!");
}

}  // namespace

}  // namespace hx
