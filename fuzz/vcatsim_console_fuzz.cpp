// Any text typed at the card terminal simulator's console, one command a
// line: each gets an "ok" or "error: " reply whose further lines are
// indented, and the terminal still answers every request afterwards without
// a charge made twice or refunded twice.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_require.h"
#include "tools/vcatsim/card_terminal.h"
#include "tools/vcatsim/terminal_console.h"

namespace {

hx::stTerminalFrame Request(std::vector<std::pair<int16_t, std::string>> fields) {
    hx::stTerminalFrame frame;
    frame.fields = std::move(fields);
    return frame;
}

void RequireReply(const std::string& reply) {
    using hx::Require;
    Require(reply.starts_with("ok") || reply.starts_with("error: "));
    for (size_t at = reply.find('\n'); at != std::string::npos; at = reply.find('\n', at + 1)) {
        Require(reply.compare(at + 1, 2, "  ") == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    const std::string text(reinterpret_cast<const char*>(data), size);
    CCardTerminal terminal([](nlohmann::json) {});
    CTerminalConsole console(terminal);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        RequireReply(console.Execute(std::string_view(text).substr(start, end - start)));
        start = end + 1;
    }
    const stSaleTime now{"20261210", "101530"};
    for (int i = 0; i < 3; ++i) {
        const stTerminalTurn turn = terminal.Handle(Request({{1, "0101"}, {3, "1000"}}), now);
        Require(turn.keepOpen || !turn.frames.empty());
        Require(turn.frames.empty() || turn.frames.back().kind != enumTerminalFrame::State);
    }
    for (int i = 0; i < 2; ++i) {
        terminal.Handle(Request({{1, "2101"}, {3, "1000"}, {12, "30000001"}}), now);
    }
    const CChargeLedger& ledger = terminal.Ledger();
    Require(ledger.Charges().size() <= 3);
    Require(ledger.CancelCount() <= (ledger.Charges().empty() ? 0 : 1));
    RequireReply(console.Execute("ledger"));
    RequireReply(console.Execute("status"));
    return 0;
}
