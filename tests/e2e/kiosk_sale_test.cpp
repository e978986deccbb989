// A guest buys a room at the kiosk: the kiosk, our front-desk server, the
// control board on COM3, the key card dispenser on COM4, the receipt
// printer on COM0 and a movie client on the screen's socket, each a real
// process or socket.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "kiosk/support/paths.h"
#include "platform/ini_file.h"
#include "tests/e2e/kiosk_with_desk_test.h"
#include "tests/support/wait_until.h"
#include "tools/dispsim/testing_dispsim.h"
#include "tools/prnsim/testing_prnsim.h"

namespace hx {

namespace {

class KioskSale : public CKioskWithDeskTest {
protected:
    void BeforeKiosk() override {
        std::filesystem::create_directories(GetProgramPath("INI"));
        ASSERT_TRUE(WritePrivateProfileString("Dispenser", "port", "COM4",
                                              GetProgramPath("INI\\HXKiosk.ini")));
        m_dispenser = std::make_unique<CDispSimProcess>(m_drive.MakeFolder("dosdevices") / "com4",
                                                        m_drive.MakeFolder("dispsim"));
        m_printer = std::make_unique<CPrnSimProcess>(m_drive.Folder() / "dosdevices" / "com0",
                                                     m_drive.MakeFolder("prnsim"));
        ASSERT_TRUE(m_dispenser->WaitUntilLinked());
        ASSERT_TRUE(m_printer->WaitUntilLinked());
    }

    void PayCash(int room, int price) {
        ASSERT_TRUE(WaitForKioskLog(std::regex("컨트롤 보드 연결 실패 해결"), m_log, m_logFrom));
        ASSERT_TRUE(m_page.SendCommand(
            "SetPay", std::to_string(room) + "||false||" + std::to_string(price) + "||true"));
    }

    void Insert(int won) {
        const std::string command = "bill " + std::to_string(won);
        ASSERT_TRUE(WaitUntil([&] { return m_board->Command(command).starts_with("ok"); }))
            << command;
    }

    // The screen calls of `command` until one with these arguments.
    void ExpectScript(std::string_view command, std::string_view args) {
        std::optional<std::string> seen;
        do {
            seen = WaitForScript(command);
        } while (seen && *seen != args);
        EXPECT_EQ(seen, std::optional<std::string>(args)) << command;
    }

    int SavedFloat(const char* key) const {
        return GetPrivateProfileNumber("Money", key, -1, GetProgramPath("INI\\SaveMoney.ini"));
    }

    std::unique_ptr<CDispSimProcess> m_dispenser;
    std::unique_ptr<CPrnSimProcess> m_printer;
};

TEST_F(KioskSale, ACashSaleWithChangeEndsInAKeyCardATicketAndTheChange) {
    PayCash(201, 35000);
    for (int i = 0; i < 4; ++i) {
        Insert(10000);
    }
    ExpectScript("SetRecvMoney", "35000||40000||5000");
    ASSERT_TRUE(m_page.SendCommand("MakeTicket", "201||false||true||35000"));
    ASSERT_TRUE(m_page.SendCommand("MakeTicket", "201||false||true||35000"))
        << "a double tap is ignored";
    ExpectScript("MakeTicketRes", "1||5000");
    EXPECT_EQ(JournalCount(601), 1u);
    ASSERT_EQ(m_dispenser->IssuedCards().size(), 1u);
    ASSERT_TRUE(m_printer->WaitForDocuments(1));
    EXPECT_EQ(m_printer->Documents()[0].at("lines").at(0).at("text"), "201호");
    EXPECT_EQ(SavedFloat("1000"), 95) << "the change, five 1,000-won notes";
    EXPECT_EQ(SavedFloat("RFCard"), 99) << "one key card";
}

}  // namespace

}  // namespace hx
