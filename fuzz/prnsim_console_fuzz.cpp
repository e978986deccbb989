// Any text typed at the receipt printer simulator's console, one command a
// line: each gets an "ok" or "error: " reply (further lines indented), and
// the printer still answers a status request and prints a document
// afterwards, as its state says.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_console.h"
#include "tools/prnsim/printer_console.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    std::vector<uint8_t> answers;
    int saved = 0;
    CReceiptPrinter printer(
        576, enumPrinterState::Ready,
        [&answers](uint8_t answer) {
            answers.push_back(answer);
            return true;
        },
        [&saved](const stPrintedDocument&, int) {
            ++saved;
            return stSavedDocument{};
        },
        [](const nlohmann::json&) {});
    CPrinterConsole console(printer);
    RequireConsoleReplies(data, size,
                          [&console](std::string_view line) { return console.Execute(line); });
    const enumPrinterState state = printer.State();
    CEscPosReader reader;
    for (const stPrinterPiece& piece :
         reader.Feed(std::vector<uint8_t>{0x10, 0x04, 0x01, 0x1B, 0x40, 'A', 0x1D, 0x56, 0x00})) {
        printer.Take(piece);
    }
    Require(answers.size() == (state == enumPrinterState::Silent ? 0u : 1u));
    Require(saved == (PrintsIn(state) ? 1 : 0));
    Require(printer.Counts().documents == saved);
    return 0;
}
