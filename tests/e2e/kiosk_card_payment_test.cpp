// The kiosk's card payments against the card terminal simulator on loopback
// TCP: in this process, the terminal's window and the payment wired as the
// kiosk window wires them; then the kiosk program with its screen and the
// front-desk server. The simulator's ledger shows what was really charged.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kiosk/payment/kiosk_card_payment.h"
#include "kiosk/support/guest_step.h"
#include "platform/loop_test_support.h"
#include "tests/e2e/kiosk_with_desk_test.h"
#include "tests/support/temp_folder.h"
#include "tools/vcatsim/testing_vcatsim.h"

namespace hx {

namespace {

using Calls = std::vector<std::string>;

class KioskCardPaymentOnTerminal : public ::testing::Test {
protected:
    void SetUp() override {
        m_window.onMessage = [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            return m_card.OnMessage(message, wParam) ? 0 : 1;
        };
        ASSERT_TRUE(m_window.Create());
        ASSERT_TRUE(m_vcatsim.WaitUntilListening());
        const int port = m_vcatsim.Events("listening").at(0).at("port").get<int>();
        ASSERT_TRUE(m_card.Create(m_window.GetSafeHwnd(), m_folder.Path(), port));
    }

    CKioskCardPayment::stHooks Hooks() {
        return {[this](std::string_view command, std::string_view args) {
                    m_movie.push_back(std::string(command) + ";" + std::string(args));
                },
                [this](int code, std::string_view text) {
                    m_steps.push_back(std::to_string(code) + ";" + std::string(text));
                },
                [this](int code, std::string_view detail) {
                    m_events.push_back(std::to_string(code) + ";" + std::string(detail));
                },
                [this] { return m_cardPaymentEnabled; },
                nullptr,
                [this](std::string_view line) { m_log.emplace_back(line); }};
    }

    // Waits for the screen call `expected` ("Command;args").
    bool Movie(const std::string& expected) {
        return PumpUntil(
            [&] { return std::find(m_movie.begin(), m_movie.end(), expected) != m_movie.end(); });
    }

    size_t Requests() const { return m_vcatsim.Events("request").size(); }

    CTempFolder m_folder{"card"};
    CVCatSimProcess m_vcatsim{"127.0.0.1", 0, m_folder.Path()};
    bool m_cardPaymentEnabled = true;
    Calls m_movie;
    Calls m_steps;
    Calls m_events;
    Calls m_log;
    CRecordingWnd m_window;
    CKioskCardPayment m_card{Hooks()};
};

TEST_F(KioskCardPaymentOnTerminal, AnApprovalIsChargedOnceAndKeptForTheSale) {
    m_card.AskMerchantInfoWhenMissing();
    EXPECT_TRUE(PumpUntil([&] { return !m_card.MerchantInfo().terminalNo.empty(); }));
    ASSERT_EQ(m_vcatsim.Command("next fallback").substr(0, 2), "ok");

    m_card.Pay(55000);
    m_card.Pay(55000);  // a double tap while the terminal reads the card
    ASSERT_TRUE(Movie("SetCreditRes;1"));

    const std::vector<nlohmann::json> charged = m_vcatsim.Approvals();
    ASSERT_EQ(charged.size(), 1u);
    EXPECT_EQ(Requests(), 2u) << "the merchant information and one approval";
    EXPECT_EQ(m_window.WParamsOf(WM_VCAT_FALLBACK), std::vector<WPARAM>{2});
    EXPECT_EQ(m_movie, (Calls{"SetFallback;", "SetCreditRes;1"}));
    EXPECT_EQ(m_steps, Calls{std::to_string(STEP_CARD_APPROVED) + ";"});
    EXPECT_TRUE(m_events.empty());
    const stCardApproval& approval = m_card.Approval();
    EXPECT_EQ(approval.approvalNo, charged[0].at("approvalNo").get<std::string>());
    EXPECT_EQ(approval.amount, 55000);
    EXPECT_EQ(approval.cardNo, "9410-8512-3456-7890");
    EXPECT_EQ(approval.issuerCode, "0100");
    EXPECT_EQ(approval.issuerName, "BC카드");
    EXPECT_EQ(approval.terminalNo, m_card.MerchantInfo().terminalNo);

    // The guest's refund: the cancel's answer is logged, and is no payment.
    m_movie.clear();
    const size_t answers = m_window.WParamsOf(WM_VCAT_ANSWER).size();
    ASSERT_EQ(m_card.Terminal().CreditCancel(approval.approvalNo, approval.saleDate, "", 55000), 1);
    ASSERT_TRUE(
        PumpUntil([&] { return m_window.WParamsOf(WM_VCAT_ANSWER).size() == answers + 1; }));
    EXPECT_EQ(m_vcatsim.Cancels().size(), 1u);
    EXPECT_TRUE(m_movie.empty());
    EXPECT_EQ(m_steps.size(), 1u);
    EXPECT_EQ(m_card.Approval().approvalNo, charged[0].at("approvalNo").get<std::string>());
    EXPECT_EQ(m_log.back(), "신용카드 취소 결과 [00]정상취소");
}

TEST_F(KioskCardPaymentOnTerminal, EveryFailureTellsTheScreenAndTheServer) {
    struct stCase {
        const char* script;  // the simulator's next outcome; empty: it has ended
        bool paymentEnabled;
        std::string event;
        std::vector<WPARAM> exits;
    };
    const stCase cases[] = {
        {"next decline 51 한도초과", true, "402;[51]한도초과", {}},
        {"next exit 0", true, "402;ErrCode=0", {0}},
        {"next exit 3", true, "402;ErrCode=3", {3}},
        {"", false, "402;ErrCode=-999", {static_cast<WPARAM>(-999)}},
        {"", true, "401;", {static_cast<WPARAM>(-999)}},
    };
    bool ended = false;
    for (const stCase& test : cases) {
        SCOPED_TRACE(test.script);
        m_movie.clear();
        m_events.clear();
        m_window.seen.clear();
        m_cardPaymentEnabled = test.paymentEnabled;
        if (*test.script != '\0') {
            ASSERT_EQ(m_vcatsim.Command(test.script).substr(0, 2), "ok");
        } else if (!std::exchange(ended, true)) {
            EXPECT_EQ(m_vcatsim.Stop(), 0);
        }
        m_card.Pay(1000);
        ASSERT_TRUE(Movie("SetCreditRes;0"));
        EXPECT_TRUE(PumpUntil([&] { return !m_events.empty(); }));
        EXPECT_EQ(m_events, Calls{test.event});
        EXPECT_EQ(m_window.WParamsOf(WM_VCAT_TERMEXIT), test.exits);
        EXPECT_FALSE(m_card.IsWaitingForCard());
    }
    EXPECT_EQ(m_card.Terminal().Answer().responseCode, "51") << "the decline's record stays";
    EXPECT_TRUE(m_vcatsim.Approvals().empty());
    EXPECT_TRUE(m_steps.empty());
}

class KioskCardSale : public CKioskWithDeskTest {
protected:
    void BeforeKiosk() override {
        m_vcatsim = std::make_unique<CVCatSimProcess>("127.0.0.1", 0, m_drive.MakeFolder("vcat"));
        ASSERT_TRUE(m_vcatsim->WaitUntilListening());
        m_start.cardTerminalPort = m_vcatsim->Events("listening").at(0).at("port").get<int>();
    }

    // Once the devices are open (a second after the start).
    void PayByCard(int price) {
        ASSERT_TRUE(DevicesStarted());
        ASSERT_TRUE(
            m_page.SendCommand("SetPay", "201||false||" + std::to_string(price) + "||false"));
    }

    bool DeskReceived(int command, const std::string& text) {
        return m_desk->WaitForJournal([&](const nlohmann::json& entry) {
            const nlohmann::json fields = entry.value("fields", nlohmann::json::object());
            return entry.value("event", "") == "received" && entry.value("command", 0) == command &&
                   fields.value("text", "").find(text) != std::string::npos;
        });
    }

    std::unique_ptr<CVCatSimProcess> m_vcatsim;
};

TEST_F(KioskCardSale, TheScreenHearsTheTerminalAndTheDeskHearsTheDecline) {
    ASSERT_EQ(m_vcatsim->Command("next decline 51 한도초과").substr(0, 2), "ok");
    PayByCard(35000);
    EXPECT_EQ(WaitForScript("SetCreditRes"), std::optional<std::string>("0"));
    EXPECT_TRUE(DeskReceived(505, "[51]한도초과"))
        << "the failed payment, as a device event" << KioskLogText();

    PayByCard(35000);
    EXPECT_EQ(WaitForScript("SetCreditRes"), std::optional<std::string>("1"));
    ASSERT_EQ(m_vcatsim->Approvals().size(), 1u);
    EXPECT_EQ(m_vcatsim->Approvals()[0].at("amount"), "35000");
}

}  // namespace

}  // namespace hx
