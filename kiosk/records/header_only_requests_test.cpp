#include "kiosk/records/header_only_requests.h"

#include <gtest/gtest.h>

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

TEST(HeaderOnlyRequests, HaveTheirOwnSizesAndNothingButAHeader) {
    const std::pair<uint32_t, size_t> requests[] = {
        {501, 168}, {509, 104}, {518, 104}, {520, 9268}, {11220, 36}};
    for (const auto& [command, size] : requests) {
        const auto packet = PackHeaderOnlyRequest(command);
        ExpectBareHeader(packet, command, size);
        ExpectZeroOutside(packet, 36, {});
    }
    EXPECT_TRUE(PackHeaderOnlyRequest(CMD_STEP_REPORT).empty());
    EXPECT_EQ(HeaderOnlyRequestSize(CMD_SALE), 0u);
}

}  // namespace

}  // namespace hx
