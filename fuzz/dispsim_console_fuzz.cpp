// Any text typed at the dispenser simulator's console, one command a line:
// each gets an "ok" or "error: " reply, and the device still answers the
// kiosk afterwards without a card made or lost.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_require.h"
#include "tools/dispsim/card_dispenser.h"
#include "tools/dispsim/dispenser_console.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    const std::string text(reinterpret_cast<const char*>(data), size);
    CCardDispenser dispenser(3, [](const nlohmann::json&) {});
    CDispenserConsole console(dispenser);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string reply =
            console.Execute(std::string_view(text).substr(start, end - start));
        Require(reply.starts_with("ok") || reply.starts_with("error: "));
        start = end + 1;
    }
    const int stack = dispenser.State().stack;
    Require(stack >= 0 && stack <= 100000);
    for (const uint8_t command : {0x30, 0x35, 0x38, 0x39}) {
        const std::optional<std::vector<uint8_t>> answer = dispenser.Handle({command, {}});
        Require(!answer || answer->size() == 5);
    }
    const stDispenserState& state = dispenser.State();
    Require(state.stack + state.issued + state.captured + (state.cardInMouth ? 1 : 0) == stack);
    return 0;
}
