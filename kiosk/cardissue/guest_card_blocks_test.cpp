#include "kiosk/cardissue/guest_card_blocks.h"

#include <gtest/gtest.h>

#include <vector>

#include "kiosk/support/kiosk_settings_defaults.h"
#include "platform/envr.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const CardBlock& block) {
    return Bytes(block.begin(), block.end());
}

class GuestCardBlocks : public ::testing::Test {
protected:
    // Korean time, without daylight saving and without needing tzdata.
    const CScopedEnvironment m_zone{"TZ", "KST-9"};
    // 2024-03-05 11:00 in Seoul.
    static constexpr int64_t kEnd = 1709604000;
};

TEST_F(GuestCardBlocks, BlockOneNamesTheMotelAndTheDoor) {
    stGuestCardData card;
    card.hotelRegion = 7;
    card.hotelSequence = 2021;
    card.doorLockNumber = 305;
    EXPECT_EQ(BytesOf(BuildCardBlock1(card)),
              (Bytes{0x07, 0x07, 0xE5, 0x00, 0x01, 0x31, 0x00, 0x55, 0x30, 0xFF, 0xFF, 0xFF, 0xFF,
                     0xFF, 0xFF, 0x00}));
}

TEST_F(GuestCardBlocks, BlockTwoRunsFromTheBaseDateToTheEndByGrade) {
    const stLocalTime base{2016, 1, 1, 0, 0, 0, 0};
    stGuestCardData card;
    card.endTime = kEnd;
    const Bytes guest{0x10, 0x01, 0x01, 0x00, 0x00, 0x18, 0x03, 0x05, 0x0B, 0x00, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(BytesOf(BuildCardBlock2(card, base)), guest);
    card.grade = "P";
    EXPECT_EQ(BytesOf(BuildCardBlock2(card, base)), guest);
    card.grade = "A";
    EXPECT_EQ(BytesOf(BuildCardBlock2(card, base)),
              (Bytes{0x10, 0x01, 0x01, 0x00, 0x00, 0x10, 0x01, 0x01, 0x00, 0x00, 0, 0, 0, 0, 0, 0}))
        << "other grades end where they start";
    card.grade = "U";
    card.endTime = -1;
    EXPECT_EQ(BytesOf(BuildCardBlock2(card, base)),
              (Bytes{0x10, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}))
        << "an end that is no local time";
}

TEST_F(GuestCardBlocks, TheBaseDateIsReadFromTheSettingsAtEveryIssue) {
    const CTempDrive drive;
    CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
    const CEnvr settings(kRegistryApplication);
    settings.WriteInt("RFCard", "StartYear", 2020);
    settings.WriteInt("RFCard", "StartMonth", 6);
    const stLocalTime base = LoadCardBaseDate();
    EXPECT_EQ(base.year, 2020);
    EXPECT_EQ(base.month, 6);
    EXPECT_EQ(base.day, kDefaultRfStartDay);
    CEnvr::SetFrameworkKey("", "");
}

}  // namespace

}  // namespace hx
