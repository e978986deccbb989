#pragma once
// A document drawn on its paper as the head would print it: every character
// in its cell (cells of one line stand on the line's bottom), bold ones
// struck twice a little apart, and a dashed cut mark on the last dot row.

#include <cstdint>
#include <vector>

#include "tools/prnsim/glyph_font.h"
#include "tools/prnsim/printed_document.h"

namespace hx {

inline constexpr uint8_t kPaperWhite = 0xFF;
inline constexpr uint8_t kInkBlack = 0x00;

struct stPaperImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> dots;  // row by row, kPaperWhite or kInkBlack
};

// As wide as the paper and as long as the paper fed (one row at least, for
// the cut mark); what lies beyond is cut away.
stPaperImage DrawDocument(const stPrintedDocument& document, CGlyphFont& font);

}  // namespace hx
