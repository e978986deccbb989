#include "tools/vcatsim/terminal_console.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

class TerminalConsoleTest : public testing::Test {
protected:
    CCardTerminal m_terminal{[](nlohmann::json) {}};
    CTerminalConsole m_console{m_terminal};
};

TEST_F(TerminalConsoleTest, RepliesToEachLineAndChangesNothingOnAnError) {
    const std::pair<const char*, const char*> kLines[] = {
        {"next approve", "ok next approve (queued 1)"},
        {"next  decline 51  한도   초과", "ok next decline 51 한도 초과 (queued 2)"},
        {"next exit -2147483648", "ok next exit -2147483648 (queued 3)"},
        {"next decline 51", "error: next approve|decline CODE MESSAGE|fallback|silent|exit CODE"},
        {"next decline 511 X",
         "error: next approve|decline CODE MESSAGE|fallback|silent|exit CODE"},
        {"next exit 2147483648",
         "error: next approve|decline CODE MESSAGE|fallback|silent|exit CODE"},
        {"next approve now", "error: next approve|decline CODE MESSAGE|fallback|silent|exit CODE"},
        {"next", "error: next approve|decline CODE MESSAGE|fallback|silent|exit CODE"},
        {"states", "error: states CODE... (up to 16) | states none"},
        {"states 1I T-E", "error: states CODE... (up to 16) | states none"},
        {"info terminal 12 34", "error: info on|off|terminal [NUMBER]"},
        {"info", "error: info on|off|terminal [NUMBER]"},
        {"", "error: say next|states|info|ledger|status|quit"},
        {"approve", "error: say next|states|info|ledger|status|quit"},
        {"status now", "error: say next|states|info|ledger|status|quit"},
        {"status", "ok approvals=0 cancels=0 queued=3 states=1I,TS,TE info=on terminal=2393300001"},
        {"states 1C TE", "ok states 1C TE"},
        {"info off", "ok info off"},
        {"status", "ok approvals=0 cancels=0 queued=3 states=1C,TE info=off terminal=2393300001"},
        {"info terminal", "ok info terminal (empty)"},
        {"states none", "ok states none"},
        {"status", "ok approvals=0 cancels=0 queued=3 states=none info=on terminal=(empty)"},
    };
    for (const auto& [line, reply] : kLines) {
        EXPECT_EQ(m_console.Execute(line), reply) << line;
    }
    EXPECT_FALSE(m_console.QuitAsked());
    EXPECT_EQ(m_console.Execute("quit"), "ok quitting");
    EXPECT_TRUE(m_console.QuitAsked());
}

TEST_F(TerminalConsoleTest, TheLedgerKeepsWireTextOnItsOwnLine) {
    stTerminalFrame approval;
    approval.fields = {{1, "0101"}, {3, "1000\nok forged"}};
    m_terminal.Handle(approval, {"20261210", "101530"});
    approval.fields = {{1, "0101"}, {3, "2000"}};
    m_terminal.Handle(approval, {"20261210", "101531"});
    stTerminalFrame cancel;
    cancel.fields = {{1, "2101"}, {3, "2000"}, {12, "30000002"}};
    m_terminal.Handle(cancel, {"20261210", "101532"});
    EXPECT_EQ(m_console.Execute("ledger"),
              "ok ledger 2\n"
              "  30000001 1000?ok forged 20261210 101530 approved\n"
              "  30000002 2000 20261210 101531 cancelled");
}

}  // namespace

}  // namespace hx
