#include "tools/prnsim/paper_raster.h"

#include <algorithm>
#include <string_view>

#include "platform/cp949.h"

namespace hx {

namespace {

constexpr int kCutDash = 8;

// The first character of well-formed UTF-8 (what the code page converter gives).
char32_t FirstCodePoint(std::string_view utf8) {
    if (utf8.empty()) {
        return U'?';
    }
    const auto lead = static_cast<unsigned char>(utf8[0]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (utf8.size() < length) {
        return U'?';
    }
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    return codePoint;
}

void Blacken(stPaperImage& image, int x, int y) {
    if (x >= 0 && y >= 0 && x < image.width && y < image.height) {
        image.dots[static_cast<size_t>(y) * image.width + x] = kInkBlack;
    }
}

void Strike(stPaperImage& image, const stGlyph& glyph, int penX, int baseline) {
    for (int row = 0; row < glyph.rows; ++row) {
        for (int column = 0; column < glyph.width; ++column) {
            if (glyph.black[static_cast<size_t>(row) * glyph.width + column] != 0) {
                Blacken(image, penX + glyph.left + column, baseline - glyph.top + row);
            }
        }
    }
}

void DrawChar(stPaperImage& image, const stPrintedChar& character, int x, int lineBottom,
              CGlyphFont& font) {
    const int cellHeight = CharHeightDots(character);
    const int baseline = lineBottom - cellHeight + font.BaselineIn(cellHeight);
    // A two-byte character's em is its whole cell; a one-byte one is half an em wide.
    const int emWidth = kCellHeightDots * character.width;
    const stGlyph glyph =
        font.Render(FirstCodePoint(Utf8FromCp949(character.bytes)), emWidth, cellHeight);
    Strike(image, glyph, x, baseline);
    if (character.bold) {
        Strike(image, glyph, x + character.width, baseline);
    }
}

void DrawLine(stPaperImage& image, const stPrintedLine& line, CGlyphFont& font) {
    int x = LineLeft(line, image.width);
    for (const stPrintedChar& character : line.chars) {
        DrawChar(image, character, x, line.top + line.height, font);
        x += CharWidthDots(character);
    }
}

void DrawCutMark(stPaperImage& image) {
    for (int x = 0; x < image.width; ++x) {
        if ((x / kCutDash) % 2 == 0) {
            Blacken(image, x, image.height - 1);
        }
    }
}

}  // namespace

stPaperImage DrawDocument(const stPrintedDocument& document, CGlyphFont& font) {
    stPaperImage image;
    image.width = document.paperWidth;
    image.height = std::max(document.height, 1);
    image.dots.assign(static_cast<size_t>(image.width) * image.height, kPaperWhite);
    for (const stPrintedLine& line : document.lines) {
        if (line.top < image.height) {
            DrawLine(image, line, font);
        }
    }
    DrawCutMark(image);
    return image;
}

}  // namespace hx
