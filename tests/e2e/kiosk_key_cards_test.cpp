// The kiosk's key cards in this process against the dispenser simulator on
// the kiosk's COM4 (a real pseudo-terminal), on both kinds of dispenser.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/cardissue/kiosk_key_cards.h"
#include "kiosk/support/paths.h"
#include "platform/envr.h"
#include "platform/ini_file.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_drive.h"
#include "tools/dispsim/testing_dispsim.h"

namespace hx {

namespace {

constexpr int64_t kEndOfStay = 1709604000;  // 2024-03-05 11:00 in Korea

class KioskKeyCards : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(GetProgramPath("INI"));
        ASSERT_TRUE(WritePrivateProfileString("Dispenser", "port", "COM4",
                                              GetProgramPath("INI\\HXKiosk.ini")));
        m_dispenser = std::make_unique<CDispSimProcess>(m_drive.MakeFolder("dosdevices") / "com4",
                                                        m_drive.MakeFolder("dispsim"));
        ASSERT_TRUE(m_dispenser->WaitUntilLinked());
        ASSERT_TRUE(m_keyCards.Create());
        m_room.lockGroup = 3;
        m_room.lockNo = 305;
    }

    int Issue(bool libraryKind) {
        return m_keyCards.IssueGuestCard(m_room, kEndOfStay, {7, 2021}, libraryKind);
    }

    bool JournalHas(const std::string& event) const {
        for (const nlohmann::json& entry : m_dispenser->Journal()) {
            if (entry.value("event", "") == event) {
                return true;
            }
        }
        return false;
    }

    const CScopedEnvironment m_zone{"TZ", "KST-9"};
    CTempDrive m_drive;
    std::unique_ptr<CDispSimProcess> m_dispenser;
    CKioskKeyCards m_keyCards;
    stRoom4Kiosk m_room;
};

TEST_F(KioskKeyCards, ACardOpensTheRoomSoldUntilTheEndOfTheStayOnBothKinds) {
    for (const bool libraryKind : {false, true}) {
        SCOPED_TRACE(libraryKind ? "library kind" : "serial kind");
        ASSERT_TRUE(m_keyCards.OpenDispenser(libraryKind));
        EXPECT_EQ(Issue(libraryKind), DISPENSER_OK);
    }
    const std::vector<nlohmann::json> cards = m_dispenser->IssuedCards();
    ASSERT_EQ(cards.size(), 2u);
    for (const nlohmann::json& issued : cards) {
        const nlohmann::json& card = issued["card"];
        EXPECT_EQ(card.value("doorLock", 0), 305);
        EXPECT_EQ(card.value("hotelRegion", 0), 7);
        EXPECT_EQ(card.value("hotelSequence", 0), 2021);
        EXPECT_EQ(card.value("end", ""), "2024-03-05 11:00");
        EXPECT_TRUE(card.value("checksOk", false));
    }
    EXPECT_EQ(cards[0]["card"].value("start", ""), "2016-01-01 00:00") << "the card base date";
}

TEST_F(KioskKeyCards, TheDispensersFaultsReachTheKioskAsTheirResults) {
    ASSERT_TRUE(m_keyCards.OpenDispenser(false));
    CDispenserDlg& dispenser = m_keyCards.Dispenser();

    EXPECT_EQ(m_dispenser->Command("reject-write 1 5").rfind("ok", 0), 0u);
    EXPECT_EQ(Issue(false), DISPENSER_CARD_JAM);
    EXPECT_TRUE(JournalHas("captured")) << "the refused card was taken back";

    const struct {
        const char* command;
        int result;
    } cases[] = {
        {"status-code 3", DISPENSER_EMPTY_CARD},
        {"misbehave bad-bcc 1", DISPENSER_BCC_ERROR},
        {"misbehave wrong-cmd 1", DISPENSER_UNKOWN_PACKET},
        {"misbehave silent 1", DISPENSER_RECV_ERROR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(m_dispenser->Command(c.command).rfind("ok", 0), 0u);
        EXPECT_EQ(dispenser.DispenserHealth(false), c.result);
        m_dispenser->Command("status-code auto");
    }
    EXPECT_EQ(dispenser.DispenserHealth(false), DISPENSER_OK);
}

}  // namespace

}  // namespace hx
