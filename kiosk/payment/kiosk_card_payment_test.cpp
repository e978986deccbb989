#include "kiosk/payment/kiosk_card_payment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "kiosk/payment/testing_terminal.h"
#include "platform/loop_test_support.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

using Calls = std::vector<std::string>;

TEST(KioskCardPayment, AnApprovalThatComesAfterTheGuestLeftIsCancelledUnseen) {
    CTempFolder folder("card");
    Calls calls;
    std::atomic<bool> gaveUp{false};
    // The terminal answers the approval only once the guest has gone home.
    CTestTerminal terminal({{Answer({{1, "0102"},
                                     {3, "9410123456789012"},
                                     {4, "1000"},
                                     {8, "30000009"},
                                     {9, "20261210"},
                                     {17, "00"}})},
                            {Answer({{1, "2102"}, {17, "00"}})}},
                           [&](size_t connection) {
                               if (connection == 0) {
                                   WaitUntil([&] { return gaveUp.load(); });
                               }
                           });
    CKioskCardPayment card(
        {[&](std::string_view command, std::string_view args) {
             calls.push_back(std::string(command) + " " + std::string(args));
         },
         [&](int code, std::string_view) { calls.push_back("step " + std::to_string(code)); },
         [&](int code, std::string_view) { calls.push_back("event " + std::to_string(code)); },
         [] { return true; }, nullptr, [](std::string_view) {}});
    CRecordingWnd kiosk;
    kiosk.onMessage = [&](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        return card.OnMessage(message, wParam) ? 0 : 1;
    };
    ASSERT_TRUE(kiosk.Create());
    ASSERT_TRUE(card.Create(kiosk.GetSafeHwnd(), folder.Path(), terminal.Port()));

    card.Pay(1000);
    card.GiveUp();
    gaveUp = true;
    ASSERT_TRUE(PumpUntil([&] { return terminal.Requests().size() == 2; }));
    EXPECT_EQ(terminal.Requests()[1].fields.at(0), (std::pair<int16_t, std::string>{1, "2101"}));
    EXPECT_TRUE(PumpUntil([&] { return kiosk.WParamsOf(WM_VCAT_ANSWER).size() == 2; }));
    EXPECT_TRUE(calls.empty()) << "no SetCreditRes, no step, no event";
    EXPECT_TRUE(card.Approval().approvalNo.empty());
}

}  // namespace

}  // namespace hx
