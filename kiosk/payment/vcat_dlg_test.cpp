#include "kiosk/payment/vcat_dlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "kiosk/payment/testing_terminal.h"
#include "kiosk/payment/vcat_service_panel.h"
#include "platform/cp949.h"
#include "platform/loop_test_support.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

std::vector<int16_t> Numbers(const stTerminalFrame& request) {
    std::vector<int16_t> numbers;
    for (const auto& field : request.fields) {
        numbers.push_back(field.first);
    }
    return numbers;
}

class VCatDlg : public ::testing::Test {
protected:
    void Start(std::vector<TerminalFrames> replies, CTestTerminal::BeforeReply beforeReply = {}) {
        m_terminal = std::make_unique<CTestTerminal>(std::move(replies), std::move(beforeReply));
        ASSERT_TRUE(m_kiosk.Create());
        m_dlg =
            std::make_unique<CVCatDlg>(m_kiosk.GetSafeHwnd(), m_folder.Path(), m_terminal->Port());
        ASSERT_TRUE(m_dlg->Create());
    }

    bool Logged(const std::string& line) const {
        const auto& rows = m_dlg->LogRows();
        return std::any_of(rows.begin(), rows.end(),
                           [&](const stVCatLogRow& row) { return row.text == line; });
    }

    CTempFolder m_folder;
    CRecordingWnd m_kiosk;
    std::unique_ptr<CTestTerminal> m_terminal;
    std::unique_ptr<CVCatDlg> m_dlg;
};

TEST_F(VCatDlg, AnApprovalGoesOutFieldByFieldAndComesBackAsANotification) {
    Start({{{enumTerminalFrame::State, {}, "1M", 0},
            Answer({{1, "0102"},
                    {3, "9410123456789012"},
                    {4, "35000"},
                    {8, "30012345"},
                    {9, "20261210"},
                    {14, Cp949FromUtf8("0100BC카드")},
                    {17, "00"}})}});
    ASSERT_EQ(m_dlg->CreditApproval("", 35000), 1);
    ASSERT_TRUE(PumpUntil([&] { return !m_kiosk.WParamsOf(WM_VCAT_ANSWER).empty(); }));
    EXPECT_EQ(Numbers(m_terminal->Requests().at(0)), (std::vector<int16_t>{1, 2, 3, 4, 6, 9}));
    EXPECT_EQ(m_kiosk.WParamsOf(WM_VCAT_FALLBACK), std::vector<WPARAM>{2});
    EXPECT_EQ(m_dlg->Answer().approvalNo, "30012345");
    EXPECT_EQ(m_dlg->Answer().issuerName, "BC카드");
    EXPECT_EQ(m_dlg->CancelFields().approvalNo, "30012345");
    EXPECT_TRUE(Logged("OnRcvStateAxSmt: [1M][신용-MS카드대기]"));
    EXPECT_TRUE(Logged("신용 승인 응답"));
    const std::string file =
        ReadWholeFile(m_folder.Path() / ("VCATLog-" + m_dlg->LogRows().back().time.substr(0, 4) +
                                         m_dlg->LogRows().back().time.substr(5, 2) +
                                         m_dlg->LogRows().back().time.substr(8, 2) + ".log"));
    EXPECT_NE(file.find(Cp949FromUtf8("신용 승인 응답")), std::string::npos);
}

TEST_F(VCatDlg, TheTerminalsEndAndItsInformationReachTheKioskWindow) {
    Start({{{enumTerminalFrame::Exit, {}, {}, 0}},
           {Answer({{1, "5202"}, {13, "T-1001"}, {41, Cp949FromUtf8("해피모텔")}})},
           {Answer({{1, "0102"}})}});
    ASSERT_EQ(m_dlg->CreditApproval("", 1000), 1);
    ASSERT_TRUE(PumpUntil([&] { return !m_kiosk.WParamsOf(WM_VCAT_TERMEXIT).empty(); }));
    EXPECT_EQ(m_kiosk.WParamsOf(WM_VCAT_TERMEXIT), std::vector<WPARAM>{0});
    EXPECT_TRUE(Logged("OnTermExitAxSmt: [0]"));

    EXPECT_EQ(m_dlg->GetVCATInfo(), 1);
    EXPECT_EQ(m_dlg->Info().merchantName, "해피모텔");
    EXPECT_TRUE(PumpUntil([&] { return !m_kiosk.WParamsOf(WM_VCAT_INFO).empty(); }));
    EXPECT_EQ(m_dlg->GetVCATInfo(), 0) << "an answer of another kind";
    EXPECT_TRUE(Logged("서비스 유형 맞지 않음:[0102]"));
}

TEST_F(VCatDlg, AnApprovalAskedForWhileTheInformationIsReadGoesOutAfterIt) {
    constexpr UINT kGuestPays = WM_APP + 1;
    std::atomic<bool> asked{false};
    // The terminal holds the information's answer until the approval was asked for.
    Start({{Answer({{1, "5202"}, {13, "T-1001"}})}, {Answer({{1, "0102"}, {17, "00"}})}},
          [&](size_t connection) {
              if (connection == 0) {
                  WaitUntil([&] { return asked.load(); });
              }
          });
    m_kiosk.onMessage = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == kGuestPays) {
            EXPECT_EQ(m_dlg->CreditApproval("", 1000), 1);
            EXPECT_EQ(m_dlg->CreditApproval("", 1000), 0) << "one approval at a time";
            asked = true;
        }
        return 0;
    };
    ASSERT_TRUE(m_kiosk.PostMessage(kGuestPays));
    EXPECT_EQ(m_dlg->GetVCATInfo(), 1);
    ASSERT_TRUE(asked);
    ASSERT_TRUE(PumpUntil([&] { return !m_kiosk.WParamsOf(WM_VCAT_ANSWER).empty(); }));
    ASSERT_EQ(m_terminal->Requests().size(), 2u);
    EXPECT_EQ(m_terminal->Requests()[1].fields.at(0), (std::pair<int16_t, std::string>{1, "0101"}));
    EXPECT_TRUE(m_kiosk.WParamsOf(WM_VCAT_TERMEXIT).empty());
}

TEST_F(VCatDlg, TheServicePanelSendsOnlyAnAmountAndSaysWhenNothingWent) {
    Start({{Answer({{1, "0102"}})}});
    for (const char* typed : {"", "0", "-5", "abc"}) {
        EXPECT_EQ(PanelApprove(*m_dlg, {typed, ""}), "금액을 입력하세요.") << typed;
    }
    EXPECT_EQ(PanelApprove(*m_dlg, {"1500", ""}), "");
    ASSERT_TRUE(PumpUntil([&] { return !m_kiosk.WParamsOf(WM_VCAT_ANSWER).empty(); }));
    EXPECT_EQ(m_terminal->Requests().at(0).fields.at(2),
              (std::pair<int16_t, std::string>{3, "1500"}));

    CVCatDlg unreachable(m_kiosk.GetSafeHwnd(), m_folder.Path(), 1);
    ASSERT_TRUE(unreachable.Create());
    EXPECT_EQ(PanelApprove(unreachable, {"1500", ""}), "신용카드 결제 실패.");
    EXPECT_EQ(PanelCancel(unreachable, {"1500", ""}, "30000001", "20261210"),
              "신용카드 결제취소 실패.");
}

TEST_F(VCatDlg, TheLogListStartsAgainPastTenThousandRows) {
    Start({});
    for (size_t i = 0; i < CVCatDlg::kMaxLogRows + 1; ++i) {
        m_dlg->WriteVCatLog("row");
    }
    EXPECT_EQ(m_dlg->LogRows().size(), 10001u);
    m_dlg->WriteVCatLog("next");
    ASSERT_EQ(m_dlg->LogRows().size(), 1u);
    EXPECT_EQ(m_dlg->LogRows().front().text, "next");
}

}  // namespace

}  // namespace hx
