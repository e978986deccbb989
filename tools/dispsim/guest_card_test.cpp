#include "tools/dispsim/guest_card.h"

#include <gtest/gtest.h>

#include "tools/dispsim/issued_card.h"

namespace hx {

namespace {

// A block as the kiosk writes it: the 16th byte folded with the XOR of the others.
CardBlock Folded(std::array<uint8_t, 15> first15) {
    CardBlock block{};
    uint8_t check = 0;
    for (size_t i = 0; i < first15.size(); ++i) {
        block[i] = first15[i];
        check ^= first15[i];
    }
    block[15] = check;
    return block;
}

// Hotel codes 7 and 2021, door-lock number 305, grade "U", sequence "0".
const CardBlock kRoom305 = Folded(
    {0x07, 0x07, 0xE5, 0x00, 0x01, 0x31, 0x00, 0x55, 0x30, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
// From the default base date 2016-01-01 00:00 to 2024-03-05 11:00.
const CardBlock kUntilMarch5 =
    Folded({0x10, 0x01, 0x01, 0x00, 0x00, 0x18, 0x03, 0x05, 0x0B, 0x00, 0, 0, 0, 0, 0});

TEST(GuestCardTest, TellsWhichDoorACardOpensAndUntilWhen) {
    const stGuestCard card = DecodeGuestCard(kRoom305, kUntilMarch5);
    EXPECT_EQ(card.hotelRegion, 7);
    EXPECT_EQ(card.hotelSequence, 2021);
    EXPECT_EQ(card.doorLock, 305);
    EXPECT_EQ(card.grade, 'U');
    EXPECT_EQ(card.gradeSequence, '0');
    EXPECT_EQ(CardTimeText(card.start), "2016-01-01 00:00");
    EXPECT_EQ(CardTimeText(card.end), "2024-03-05 11:00");
    EXPECT_TRUE(card.checksOk);
    EXPECT_TRUE(card.wellFormed);

    const stIssuedCard issued{3, kRoom305, kUntilMarch5};
    EXPECT_EQ(IssuedCardText(issued),
              "#3 door-lock 305 hotel 7/2021 grade U0 2016-01-01 00:00 to 2024-03-05 11:00");
    const nlohmann::json json = IssuedCardJson(issued);
    EXPECT_EQ(json["block1"], "07 07 E5 00 01 31 00 55 30 FF FF FF FF FF FF B0");
    EXPECT_EQ(json["card"]["doorLock"], 305);
    EXPECT_EQ(json["card"]["end"], "2024-03-05 11:00");
}

TEST(GuestCardTest, ShowsWhatIsWrongWithACard) {
    CardBlock spoiled = kRoom305;
    spoiled[5] = 0x32;
    CardBlock noFiller = kRoom305;
    noFiller[9] = 0x00;
    noFiller[15] ^= 0xFF;
    const struct {
        const char* what;
        CardBlock block1;
        CardBlock block2;
        const char* text;
    } cases[] = {
        {"a time the kiosk could not convert", kRoom305,
         Folded({0x10, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0, 0, 0, 0, 0}),
         "#1 door-lock 305 hotel 7/2021 grade U0 2016-01-01 00:00 to none"},
        {"a grade other than U or P ends at the base date",
         Folded({0x07, 0x07, 0xE5, 0x00, 0x01, 0x31, 0x00, 0x41, 0x31, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                 0xFF}),
         Folded({0x10, 0x01, 0x01, 0x00, 0x00, 0x10, 0x01, 0x01, 0x00, 0x00, 0, 0, 0, 0, 0}),
         "#1 door-lock 305 hotel 7/2021 grade A1 2016-01-01 00:00 to 2016-01-01 00:00"},
        {"a byte changed after the check was made", spoiled, kUntilMarch5,
         "#1 door-lock 306 hotel 7/2021 grade U0 2016-01-01 00:00 to 2024-03-05 11:00 (bad check "
         "byte)"},
        {"filler bytes that are not the layout's", noFiller, kUntilMarch5,
         "#1 door-lock 305 hotel 7/2021 grade U0 2016-01-01 00:00 to 2024-03-05 11:00 (not the "
         "guest card layout)"},
        {"a blank card", CardBlock{}, CardBlock{},
         "#1 door-lock 0 hotel 0/0 grade \\x00\\x00 none to none (not the guest card layout)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IssuedCardText({1, c.block1, c.block2}), c.text) << c.what;
    }
}

}  // namespace

}  // namespace hx
