#pragma once
// The printer's character generator: the glyphs of one TrueType font, drawn
// in black and white (a thermal head has no grey) for a character cell of a
// given size in dots.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace hx {

struct stGlyph {
    int width = 0;
    int rows = 0;
    int left = 0;                // from the pen position to the first column
    int top = 0;                 // from the baseline up to the first row
    std::vector<uint8_t> black;  // one per dot, row by row: 1 black, 0 white
};

class CGlyphFont {
public:
    CGlyphFont();
    ~CGlyphFont();
    CGlyphFont(const CGlyphFont&) = delete;
    CGlyphFont& operator=(const CGlyphFont&) = delete;

    // False with the reason.
    bool Open(const std::filesystem::path& file, std::string& error);
    // `codePoint` drawn with an em `emWidth` dots wide and `emHeight` dots
    // tall; the font's missing-glyph box when it has none.
    stGlyph Render(char32_t codePoint, int emWidth, int emHeight);
    // How far below the top of a cell `cellHeight` dots tall its baseline
    // lies, so ascenders and descenders both fit.
    int BaselineIn(int cellHeight) const;

private:
    struct stFace;
    std::unique_ptr<stFace> m_face;
};

}  // namespace hx
