#include "tools/prnsim/paper_raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tools/prnsim/command_line.h"
#include "tools/prnsim/testing_receipts.h"

namespace hx {

namespace {

using namespace std::string_literals;

const std::string kCut = "\x1dV\x00"s;

// Where the black dots of some rows lie.
struct stInk {
    int left = 1 << 20;
    int top = 1 << 20;
    int right = -1;   // the last black column
    int bottom = -1;  // the last black row
    int dots = 0;
};

stInk InkIn(const stPaperImage& image, int fromRow, int toRow) {
    stInk ink;
    for (int y = fromRow; y < toRow; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.dots[static_cast<size_t>(y) * image.width + x] == kInkBlack) {
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x),
                       std::max(ink.bottom, y), ink.dots + 1};
            }
        }
    }
    return ink;
}

class PaperRasterTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(m_font.Open(kDefaultPrinterFont, error)) << error;
    }

    stPaperImage Draw(const std::string& bytes, int paperWidth = 576) {
        return DrawDocument(LaidOut(bytes, paperWidth), m_font);
    }

    CGlyphFont m_font;
};

TEST_F(PaperRasterTest, DrawsKoreanAtOneAndThreeTimesInsideTheirCells) {
    const std::string korean = Cp949("한글");
    for (const int paperWidth : {576, 504}) {
        const stPaperImage image =
            Draw("\x1b@" + korean + "\n\x1d!\x22" + korean + "\n" + kCut, paperWidth);
        EXPECT_EQ(image.width, paperWidth);
        EXPECT_EQ(image.height, 30 + 78) << "each line's feed, nothing more";

        const stInk small = InkIn(image, 0, 30);
        EXPECT_GT(small.dots, 0);
        EXPECT_GE(small.left, 0);
        EXPECT_LT(small.right, 2 * 24) << "two cells of 24 dots";
        EXPECT_LT(small.bottom, 24);

        const stInk large = InkIn(image, 30, image.height - 1);
        EXPECT_GT(large.dots, 0);
        EXPECT_LT(large.right, 2 * 72) << "two cells of 72 dots";
        EXPECT_GE(large.top, 30);
        EXPECT_LT(large.bottom, 30 + 72);
        EXPECT_GT(large.bottom - large.top, 2 * (small.bottom - small.top));
    }
}

TEST_F(PaperRasterTest, CentresAndEmboldensAsTheLayoutSays) {
    const stInk plain = InkIn(Draw("\x1b@\x1b\x61\x01IH\n" + kCut), 0, 29);
    const stInk bold = InkIn(Draw("\x1b@\x1b\x61\x01\x1b\x45\x01IH\n" + kCut), 0, 29);
    EXPECT_NEAR((plain.left + plain.right) / 2, 288, 2) << "the middle of 576 dots";
    EXPECT_EQ(bold.right, plain.right + 1) << "struck again one dot further right";
    EXPECT_GT(bold.dots, plain.dots);
}

TEST_F(PaperRasterTest, MarksTheCutOnTheLastRowAndCutsAwayWhatLiesBelow) {
    const stPaperImage empty = Draw("\x1b@" + kCut);
    EXPECT_EQ(empty.height, 1);
    EXPECT_EQ(empty.dots[0], kInkBlack);
    EXPECT_EQ(empty.dots[8], kPaperWhite);
    EXPECT_EQ(empty.dots[16], kInkBlack);

    // A line printed at the very end with no feed lies beyond the cut.
    const stPaperImage clipped = Draw(
        "\x1b@\x1bJ\x0a"
        "ABC\x1bJ\x00"s +
        kCut);
    EXPECT_EQ(clipped.height, 10);
    EXPECT_EQ(InkIn(clipped, 0, 9).dots, 0);
}

}  // namespace

}  // namespace hx
