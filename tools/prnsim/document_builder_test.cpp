#include "tools/prnsim/document_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/common/tool_journal.h"
#include "tools/prnsim/testing_receipts.h"

namespace hx {

namespace {

using namespace std::string_literals;

const std::string kInit = "\x1b@";
const std::string kCut = "\x1dV\x00"s;

TEST(DocumentBuilderTest, LaysOutLinesAsThePrinterPrintsThem) {
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> lines;
        int height;
    } cases[] = {
        {"LF feeds the tallest character plus 6, an empty line 30",
         kInit +
             "A\n\x1d!\x01"
             "B\n\n" +
             kCut,
         {"0+30 left@0 [1x1]A", "30+54 left@0 [1x2]B", "84+30 left@0"},
         114},
        {"sizes from GS ! go up to 8 x 8, a Korean cell is twice as wide",
         kInit +
             "\x1d!\x77"
             "A\x1d!\x10" +
             Cp949("한") + "\n" + kCut,
         {"0+198 left@0 [8x8]A [2x1]한"},
         198},
        {"a line is aligned by what is set when it is printed",
         kInit +
             "AB\x1b\x61\x01\n\x1b\x61"
             "2" +
             Cp949("한") +
             "\n\x1b\x61\x00"
             "C\n"s +
             kCut,
         {"0+30 centre@276 [1x1]AB", "30+30 right@552 [1x1]한", "60+30 left@0 [1x1]C"},
         90},
        {"bold follows ESC E bit 0",
         kInit +
             "\x1b\x45\x03"
             "B\x1b\x45\x02"
             "n\n" +
             kCut,
         {"0+30 left@0 [1x1 bold]B [1x1]n"},
         30},
        {"ESC J prints and feeds exactly, or only feeds an empty line",
         kInit +
             "A\x1bJ\x00"
             "B\x1bJ\x10\x1bJ\xff"
             "C\n"s +
             kCut,
         {"0+0 left@0 [1x1]A", "0+16 left@0 [1x1]B", "271+30 left@0 [1x1]C"},
         301},
        {"GS V 65 and 66 feed before the cut", kInit + "\x1dVA\x28", {}, 40},
        {"GS V 66 with no feed", kInit + "\x1dVB\x00"s, {}, 0},
        {"GS V 48 ends a document, printing the text left in the line as by LF",
         kInit + "\x1d!\x11"
                 "AB\x1dV0",
         {"0+54 left@0 [2x2]AB"},
         54},
        {"a line full of characters goes on on the next one",
         kInit + std::string(49, 'x') + "\n" + kCut,
         {"0+30 left@0 [1x1]" + std::string(48, 'x'), "30+30 left@0 [1x1]x"},
         60},
        {"twelve Korean characters at double width fill a line exactly",
         kInit + "\x1d!\x10" + Cp949("가나다라마바사아자차카타파") + "\n" + kCut,
         {"0+30 left@0 [2x1]가나다라마바사아자차카타", "30+30 left@0 [2x1]파"},
         60},
        {"ESC @ resets the size, weight and alignment and clears the line",
         "\x1d!\x11\x1b\x45\x01\x1b\x61\x01lost" + kInit + "A\n" + kCut,
         {"0+30 left@0 [1x1]A"},
         30},
        {"trailing spaces are printed", kInit + "A  \n" + kCut, {"0+30 left@0 [1x1]A  "}, 30},
        {"bad bytes are skipped without costing the text around them",
         kInit +
             "A\x07\x1bt\x01"
             "B\x0d\n" +
             kCut,
         {"0+30 left@0 [1x1]AB"},
         30},
    };
    for (const auto& c : cases) {
        const stPrintedDocument document = LaidOut(c.bytes);
        EXPECT_EQ(DescribeLines(document), c.lines) << c.what;
        EXPECT_EQ(document.height, c.height) << c.what;
        EXPECT_FALSE(document.cutOff) << c.what;
    }
}

TEST(DocumentBuilderTest, CountsBadBytesAndKeepsTheFirst32) {
    const stPrintedDocument document =
        LaidOut(kInit + std::string(20, '\x07') + "A" + std::string(20, '\x0d') + "\n" + kCut);
    EXPECT_EQ(document.badBytes, 40);
    EXPECT_EQ(HexBytes(document.firstBadBytes),
              HexBytes(PrinterBytes(std::string(20, '\x07') + std::string(12, '\x0d'))));
    EXPECT_EQ(DescribeLines(document), std::vector<std::string>{"0+30 left@0 [1x1]A"});
}

TEST(DocumentBuilderTest, TheNextDocumentKeepsTheSizeUntilItIsInitialised) {
    CEscPosReader reader;
    CDocumentBuilder builder(504);
    std::vector<stPrintedDocument> documents;
    for (const stPrinterPiece& piece :
         reader.Feed(PrinterBytes("\x1d!\x11\x1b\x61\x02"
                                  "A\n" +
                                  kCut + "B\n" + kCut + kInit + "C\n" + kCut))) {
        if (builder.Take(piece)) {
            documents.push_back(builder.TakeDocument());
        }
    }
    ASSERT_EQ(documents.size(), 3u);
    EXPECT_EQ(DescribeLines(documents[0]), std::vector<std::string>{"0+54 right@480 [2x2]A"});
    EXPECT_EQ(DescribeLines(documents[1]), std::vector<std::string>{"0+54 right@480 [2x2]B"});
    EXPECT_EQ(DescribeLines(documents[2]), std::vector<std::string>{"0+30 left@0 [1x1]C"});
}

TEST(DocumentBuilderTest, CutsADocumentOffAtItsLimits) {
    std::string bolds;
    while (bolds.size() <= kMostDocumentBytes) {
        bolds += "\x1b\x45\x01";
    }
    std::string lines;
    for (size_t i = 0; i <= kMostDocumentLines; ++i) {
        lines += "x\x1bJ" + "\x00"s;
    }
    std::string paper;
    for (int fed = 0; fed <= kLongestPaperDots; fed += 255) {
        paper += "\x1bJ\xff";
    }
    const struct {
        const char* what;
        std::string bytes;
        enumCutOff reason;
        size_t lines;
        int height;
    } cases[] = {
        {"the byte limit, in commands that print nothing", kInit + "A\n" + bolds + "B\n" + kCut,
         enumCutOff::Bytes, 1, 30},
        {"the line limit", kInit + lines + kCut, enumCutOff::Lines, kMostDocumentLines, 0},
        {"the paper limit", kInit + "A\n" + paper + "B\n" + kCut, enumCutOff::Paper, 1,
         kLongestPaperDots},
    };
    for (const auto& c : cases) {
        const stPrintedDocument document = LaidOut(c.bytes);
        ASSERT_TRUE(document.cutOff) << c.what;
        EXPECT_EQ(*document.cutOff, c.reason) << c.what;
        EXPECT_EQ(document.lines.size(), c.lines) << c.what;
        EXPECT_EQ(document.height, c.height) << c.what;
    }
}

}  // namespace

}  // namespace hx
