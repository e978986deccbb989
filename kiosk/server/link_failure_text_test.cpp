#include "kiosk/server/link_failure_text.h"

#include <gtest/gtest.h>

#include <set>

#include "net/io_types.h"

namespace hx {

namespace {

TEST(LinkFailureText, EveryWayALinkEndsHasItsOwnWordsAndItsCode) {
    const std::string unknown = LinkFailureLine(0);
    EXPECT_EQ(unknown, "연결 끊긴 이유: 알 수 없음 (0)");
    EXPECT_EQ(LinkFailureLine(12345), "연결 끊긴 이유: 알 수 없음 (12345)");

    std::set<std::string> reasons;
    for (const int result :
         {IO_CLOSED, IO_READ_TIMEOUT, IO_MESSAGE_TIMEOUT, IO_BAD_HEADER_CRC, IO_BAD_DATA_CRC,
          IO_BAD_LENGTH, IO_BAD_MAGIC, IO_ERROR, IO_NOT_CONNECTED, IO_NO_TRANSPORT}) {
        const std::string line = LinkFailureLine(result);
        const std::string code = " (" + std::to_string(result) + ")";
        ASSERT_TRUE(line.ends_with(code)) << line;
        const std::string reason = line.substr(0, line.size() - code.size());
        EXPECT_EQ(reason.find("알 수 없음"), std::string::npos) << line;
        EXPECT_TRUE(reasons.insert(reason).second) << "said twice: " << line;
    }
}

}  // namespace

}  // namespace hx
