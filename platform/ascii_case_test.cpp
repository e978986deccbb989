#include "platform/ascii_case.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(SameNameIgnoringCase, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(SameNameIgnoringCase("305_0.PNG", "305_0.png"));
    EXPECT_FALSE(SameNameIgnoringCase("305_0.png", "305_0.pn"));
    EXPECT_FALSE(SameNameIgnoringCase("a[1].png", "a{1}.png")) << "32 apart, but no letters";
    EXPECT_TRUE(SameNameIgnoringCase("객실A.png", "객실a.PNG"));
    EXPECT_FALSE(SameNameIgnoringCase("\xC3\xA9.png", "\xC3\x89.png")) << "é and É stay apart";
}

}  // namespace

}  // namespace hx
