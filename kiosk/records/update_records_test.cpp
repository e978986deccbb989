#include "kiosk/records/update_records.h"

#include <gtest/gtest.h>

#include "kiosk/records/header_only_requests.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

TEST(UpdateInfo, TheIdentifierStartsTheBody) {
    const auto packet = Pack(stUpdateInfo{"LIC-0042"});
    ExpectBareHeader(packet, 520, 9268);
    EXPECT_EQ(RawTextAt(packet, 36), "LIC-0042");

    stUpdateInfo back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.updateId, "LIC-0042");
    EXPECT_FALSE(Unpack(std::span(packet).first(9267), back));
}

TEST(StartupAnswer, TheResultFollowsTheHeader) {
    const auto packet = Pack(stStartupAnswer{kStartupReady});
    ExpectBareHeader(packet, 11220, 296);
    EXPECT_EQ(Le32At(packet, 36), 1u);

    stStartupAnswer back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.result, 1);
    EXPECT_FALSE(Unpack(std::span(packet).first(295), back));
    EXPECT_FALSE(Unpack(PackHeaderOnlyRequest(CMD_STARTUP), back));  // the notice
}

}  // namespace

}  // namespace hx
