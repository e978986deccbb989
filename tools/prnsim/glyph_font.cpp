#include "tools/prnsim/glyph_font.h"

#include <freetype/freetype.h>
#include <ft2build.h>

namespace hx {

struct CGlyphFont::stFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    ~stFace() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }
};

namespace {

bool BitAt(const FT_Bitmap& bitmap, unsigned row, unsigned column) {
    const unsigned char* line = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    return (line[column / 8] & (0x80 >> (column % 8))) != 0;
}

}  // namespace

CGlyphFont::CGlyphFont() = default;
CGlyphFont::~CGlyphFont() = default;

bool CGlyphFont::Open(const std::filesystem::path& file, std::string& error) {
    auto face = std::make_unique<stFace>();
    if (FT_Init_FreeType(&face->library) != 0) {
        error = "cannot start the font engine";
        return false;
    }
    if (FT_New_Face(face->library, file.c_str(), 0, &face->face) != 0 ||
        !FT_IS_SCALABLE(face->face)) {
        error = "cannot read the font " + file.string();
        return false;
    }
    m_face = std::move(face);
    return true;
}

stGlyph CGlyphFont::Render(char32_t codePoint, int emWidth, int emHeight) {
    stGlyph glyph;
    const FT_Face face = m_face->face;
    if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(emWidth), static_cast<FT_UInt>(emHeight)) !=
            0 ||
        FT_Load_Char(face, codePoint, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0 ||
        face->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
        return glyph;
    }
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.left = face->glyph->bitmap_left;
    glyph.top = face->glyph->bitmap_top;
    glyph.black.reserve(static_cast<size_t>(glyph.width) * glyph.rows);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned column = 0; column < bitmap.width; ++column) {
            glyph.black.push_back(BitAt(bitmap, row, column) ? 1 : 0);
        }
    }
    return glyph;
}

int CGlyphFont::BaselineIn(int cellHeight) const {
    const FT_Face face = m_face->face;
    const long span = face->ascender - face->descender;
    return span > 0 ? static_cast<int>(cellHeight * face->ascender / span) : cellHeight;
}

}  // namespace hx
