#include "platform/serial_line_errors.h"

#include <gtest/gtest.h>

namespace hx {
namespace {

struct stErrorCase {
    const char* what;
    stLineErrorCounts now;
    DWORD errors;
    DWORD events;
};

TEST(SerialLineErrorsTest, ChangedCountsBecomeErrorBitsAndEvents) {
    const stLineErrorCounts before{4, 4, 4, 4, 4};
    const stErrorCase cases[] = {
        {"nothing new", {4, 4, 4, 4, 4}, 0, 0},
        {"framing", {5, 4, 4, 4, 4}, CE_FRAME, EV_ERR},
        {"overrun", {4, 6, 4, 4, 4}, CE_OVERRUN, EV_ERR},
        {"parity", {4, 4, 9, 4, 4}, CE_RXPARITY, EV_ERR},
        {"break", {4, 4, 4, 5, 4}, CE_BREAK, EV_BREAK},
        {"queue overflow", {4, 4, 4, 4, 5}, CE_RXOVER, EV_ERR},
        {"break and parity", {4, 4, 5, 5, 4}, CE_BREAK | CE_RXPARITY, EV_BREAK | EV_ERR},
        {"counts reset", {0, 4, 4, 4, 4}, CE_FRAME, EV_ERR},
    };
    for (const stErrorCase& change : cases) {
        const DWORD errors = CommErrorsBetween(before, change.now);
        EXPECT_EQ(errors, change.errors) << change.what;
        EXPECT_EQ(EventsOfCommErrors(errors), change.events) << change.what;
    }
}

TEST(SerialLineErrorsTest, TheEventMessagePacksEventsLowAndErrorsHigh) {
    const WPARAM wParam = SerialEventWParam(EV_RXCHAR, CE_RXOVER);
    EXPECT_EQ(wParam, 0x00010001u);
    EXPECT_EQ(SerialEventsOf(wParam), EV_RXCHAR);
    EXPECT_EQ(SerialErrorsOf(wParam), CE_RXOVER);
    EXPECT_EQ(SerialEventWParam(EV_ERR, CE_IOE), 0x04000080u);
}

}  // namespace
}  // namespace hx
