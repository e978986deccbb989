#pragma once
// A guest buys a room at the kiosk: the desk fixture's kiosk, desk, control
// board and key card dispenser, with the receipt printer on COM0 and the card
// terminal program beside them, each a real process or socket.

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "tests/e2e/kiosk_with_desk_test.h"
#include "tools/prnsim/testing_prnsim.h"
#include "tools/vcatsim/testing_vcatsim.h"

namespace hx {

class CKioskSaleTest : public CKioskWithDeskTest {
protected:
    void BeforeKiosk() override {
        m_printer = std::make_unique<CPrnSimProcess>(m_drive.Folder() / "dosdevices" / "com0",
                                                     m_drive.MakeFolder("prnsim"));
        m_terminal = std::make_unique<CVCatSimProcess>("127.0.0.1", 0, m_drive.MakeFolder("vcat"));
        ASSERT_TRUE(m_printer->WaitUntilLinked());
        ASSERT_TRUE(m_terminal->WaitUntilListening());
        m_start.cardTerminalPort = m_terminal->Events("listening").at(0).at("port").get<int>();
    }

    // The guest chooses how to pay, once the kiosk has its board.
    void Pay(int room, int price, bool cash) {
        ASSERT_TRUE(DevicesStarted());
        const std::string args = std::to_string(room) + "||false||" + std::to_string(price) +
                                 (cash ? "||true" : "||false");
        ASSERT_TRUE(m_page.SendCommand("SetPay", args));
    }

    void BuyByCard(int room, int price) {
        Pay(room, price, false);
        ExpectScript("SetCreditRes", "1");
        OrderTicket(room, price, false);
    }

    // The guest pays `notes` in cash for an overnight stay.
    void PayWithNotes(int room, int price, const std::vector<int>& notes) {
        Pay(room, price, true);
        int inserted = 0;
        for (const int won : notes) {
            Insert(won);
            inserted += won;
        }
        const int change = inserted > price ? inserted - price : 0;
        ExpectScript("SetRecvMoney", std::to_string(price) + "||" + std::to_string(inserted) +
                                         "||" + std::to_string(change));
    }

    void OrderTicket(int room, int price, bool cash) {
        const std::string order = std::to_string(room) + "||false||" +
                                  (cash ? "true||" : "false||") + std::to_string(price);
        ASSERT_TRUE(m_page.SendCommand("MakeTicket", order));
    }

    // Every call of `command` on the screen until `count` have come, in order.
    std::vector<std::string> NextScripts(std::string_view command, size_t count) {
        std::vector<std::string> seen;
        while (seen.size() < count) {
            const std::optional<std::string> args = WaitForScript(command);
            if (!args) {
                break;
            }
            seen.push_back(*args);
        }
        return seen;
    }

    std::unique_ptr<CPrnSimProcess> m_printer;
    std::unique_ptr<CVCatSimProcess> m_terminal;
};

}  // namespace hx
