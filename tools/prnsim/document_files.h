#pragma once
// Files each document that ends in one folder: its picture and its text,
// named by its number (doc-0001.png, doc-0001.txt).

#include <filesystem>

#include "tools/prnsim/glyph_font.h"
#include "tools/prnsim/receipt_printer.h"

namespace hx {

class CDocumentFiles {
public:
    CDocumentFiles(std::filesystem::path folder, CGlyphFont& font)
        : m_folder(std::move(folder)), m_font(font) {}

    // Replaces files an earlier run left under the same names.
    stSavedDocument Save(const stPrintedDocument& document, int number);

private:
    std::filesystem::path m_folder;
    CGlyphFont& m_font;
};

}  // namespace hx
