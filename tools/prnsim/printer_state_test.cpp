#include "tools/prnsim/printer_state.h"

#include <gtest/gtest.h>

#include <array>

namespace hx {

namespace {

TEST(PrinterStateTest, AnswersEachStatusRequestAsTheStateSays) {
    constexpr int kSilent = -1;
    const struct {
        const char* name;
        std::array<int, 4> answers;  // to DLE EOT 1..4
        bool prints;
    } cases[] = {
        {"ready", {0x12, 0x12, 0x12, 0x12}, true},
        {"near-end", {0x12, 0x12, 0x12, 0x1E}, true},
        {"paper-out", {0x1A, 0x32, 0x12, 0x72}, false},
        {"cover-open", {0x1A, 0x16, 0x12, 0x12}, false},
        {"feed", {0x1A, 0x1A, 0x12, 0x12}, true},
        {"error", {0x1A, 0x52, 0x52, 0x12}, false},
        {"silent", {kSilent, kSilent, kSilent, kSilent}, true},
    };
    for (const auto& c : cases) {
        const std::optional<enumPrinterState> state = PrinterStateByName(c.name);
        ASSERT_TRUE(state) << c.name;
        EXPECT_EQ(PrinterStateName(*state), c.name);
        EXPECT_EQ(PrintsIn(*state), c.prints) << c.name;
        for (int request = 1; request <= 4; ++request) {
            const std::optional<uint8_t> answer = StatusAnswer(*state, request);
            EXPECT_EQ(answer ? *answer : kSilent, c.answers[request - 1])
                << c.name << " DLE EOT " << request;
        }
    }
    EXPECT_FALSE(PrinterStateByName("Ready"));
    EXPECT_FALSE(PrinterStateByName(""));
}

}  // namespace

}  // namespace hx
