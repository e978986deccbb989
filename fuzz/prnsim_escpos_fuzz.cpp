// Any bytes from the kiosk's side of a receipt printer's line, in two reads,
// in any state: the reader neither loses nor invents a byte, every status
// request gets one well-formed answer byte (none when silent), and every
// document laid out fits its paper and stays within its limits.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "tools/prnsim/receipt_printer.h"

namespace {

constexpr int kPaperWidth = 504;

void CheckDocument(const hx::stPrintedDocument& document) {
    using namespace hx;
    Require(document.paperWidth == kPaperWidth);
    Require(document.lines.size() <= kMostDocumentLines);
    Require(document.height >= 0 && document.height <= kLongestPaperDots);
    Require(document.firstBadBytes.size() <= kBadBytesShown);
    Require(document.badBytes >= static_cast<int>(document.firstBadBytes.size()));
    for (const stPrintedLine& line : document.lines) {
        Require(line.width <= kPaperWidth);
        Require(LineLeft(line, kPaperWidth) + line.width <= kPaperWidth);
        Require(line.top <= document.height);
        for (const stPrintedChar& character : line.chars) {
            Require(character.bytes.size() == 1 || character.bytes.size() == 2);
            Require(character.width >= 1 && character.width <= 8);
            Require(character.height >= 1 && character.height <= 8);
            Require(CharHeightDots(character) <= line.height);
        }
    }
    Require(DocumentTextLines(document).size() == document.lines.size() + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    if (size == 0) {
        return 0;
    }
    // The first byte picks the state and where the bytes are split into two
    // reads, each a buffer of exactly its size, so a sanitizer sees any overread.
    const auto state = static_cast<enumPrinterState>(data[0] % 7);
    const size_t split = 1 + (data[0] >> 3) % size;
    const std::vector<uint8_t> first(data + 1, data + split);
    const std::vector<uint8_t> second(data + split, data + size);
    size_t requests = 0;
    size_t answers = 0;
    CReceiptPrinter printer(
        kPaperWidth, state,
        [&answers](uint8_t answer) {
            Require((answer & 0x93) == 0x12);
            ++answers;
            return true;
        },
        [](const stPrintedDocument& document, int) {
            CheckDocument(document);
            return stSavedDocument{};
        },
        [](const nlohmann::json&) {});
    CEscPosReader reader;
    size_t seen = 0;
    for (const std::vector<uint8_t>& read : {first, second}) {
        for (const stPrinterPiece& piece : reader.Feed(read)) {
            Require(!piece.bytes.empty());
            seen += piece.bytes.size();
            if (piece.command && piece.command->op == enumPrinterOp::StatusRequest) {
                ++requests;
            }
            printer.Take(piece);
        }
    }
    if (const std::optional<stPrinterPiece> partial = reader.DropPartial()) {
        Require(partial->bytes.size() < 4);
        seen += partial->bytes.size();
    }
    Require(seen == size - 1);
    Require(answers == (state == enumPrinterState::Silent ? 0 : requests));
    return 0;
}
