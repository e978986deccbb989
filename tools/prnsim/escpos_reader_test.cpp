#include "tools/prnsim/escpos_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/common/tool_journal.h"
#include "tools/prnsim/testing_receipts.h"

namespace hx {

namespace {

using namespace std::string_literals;

std::string Describe(const stPrinterPiece& piece) {
    if (!piece.command) {
        return "rejected " + HexBytes(piece.bytes);
    }
    static const char* const kNames[] = {"text", "init", "size", "bold",  "align",
                                         "feed", "lf",   "cut",  "status"};
    const stPrinterCommand& command = *piece.command;
    std::string text = kNames[static_cast<int>(command.op)];
    if (command.op == enumPrinterOp::Text) {
        return text + " " + HexBytes(piece.bytes);
    }
    if (command.op != enumPrinterOp::Initialise && command.op != enumPrinterOp::LineFeed) {
        text += " " + std::to_string(command.value);
    }
    return text;
}

TEST(EscPosReaderTest, FindsTheSubsetsCommandsAndSetsTheRestAside) {
    const struct {
        const char* what;
        std::vector<std::string> reads;
        std::vector<std::string> pieces;
    } cases[] = {
        {"text up to a line feed", {"AB\n"}, {"text 41 42", "lf"}},
        {"every command of the subset",
         {"\x1b@\x1d!\x11\x1b\x45\x01\x1b\x45\x02\x1b\x61\x02\x1b\x61"
          "1\x1bJ\xff\x1dV\x00\x1dVB\x14\x10\x04\x04"s},
         {"init", "size 17", "bold 1", "bold 0", "align 2", "align 1", "feed 255", "cut 0",
          "cut 20", "status 4"}},
        {"each cut form",
         {"\x1dV\x01\x1dV0\x1dV1\x1dVA\x00"s},
         {"cut 0", "cut 0", "cut 0", "cut 0"}},
        {"a sequence in four reads", {"\x1d", "V", "A", "\x05"}, {"cut 5"}},
        {"a Korean character split between reads", {"\xc7", "\xd1\xb1\xdb"}, {"text C7 D1 B1 DB"}},
        {"a lead byte with no partner is a character of its own", {"\xc7\n"}, {"text C7", "lf"}},
        {"a status request in the middle of text",
         {"AB\x10\x04\x01"
          "CD"},
         {"text 41 42", "status 1", "text 43 44"}},
        {"stray control bytes in a row are one piece",
         {"\x07\x0d"
          "A"},
         {"rejected 07 0D", "text 41"}},
        {"an unknown ESC sequence costs two bytes, a DLE without EOT one",
         {"\x1bt\x10"
          "A"},
         {"rejected 1B 74 10", "text 41"}},
        {"a value out of range costs the whole sequence",
         {"\x1d!\x80\x1b\x61\x03\x10\x04\x05\x1dV\x02"
          "A"s},
         {"rejected 1D 21 80 1B 61 03 10 04 05 1D 56 02", "text 41"}},
        {"an ESC that starts another sequence is not swallowed by a GS",
         {"\x1d\x1b@"},
         {"rejected 1D", "init"}},
    };
    for (const auto& c : cases) {
        CEscPosReader reader;
        std::vector<std::string> pieces;
        for (const std::string& read : c.reads) {
            for (const stPrinterPiece& piece : reader.Feed(PrinterBytes(read))) {
                pieces.push_back(Describe(piece));
            }
        }
        EXPECT_EQ(pieces, c.pieces) << c.what;
        EXPECT_FALSE(reader.DropPartial()) << c.what << ": nothing may be left waiting";
    }
}

TEST(EscPosReaderTest, WaitsForTheRestOfACommandCutShort) {
    for (const std::string& start :
         {"\x1b"s, "\x1b\x61"s, "\x1d"s, "\x1dVA"s, "\x10\x04"s, "\xb0"s}) {
        CEscPosReader reader;
        EXPECT_TRUE(reader.Feed(PrinterBytes(start)).empty()) << HexBytes(PrinterBytes(start));
        const std::optional<stPrinterPiece> partial = reader.DropPartial();
        ASSERT_TRUE(partial);
        EXPECT_EQ(partial->bytes, PrinterBytes(start));
    }
}

}  // namespace

}  // namespace hx
