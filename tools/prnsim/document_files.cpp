#include "tools/prnsim/document_files.h"

#include <cstdio>

#include "platform/atomic_file.h"
#include "tools/prnsim/png_file.h"

namespace hx {

namespace {

std::filesystem::path NumberedFile(const std::filesystem::path& folder, int number,
                                   const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "doc-%04d.%s", number, extension);
    return folder / name;
}

bool WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                    std::string& error) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + '\n';
    }
    if (!ReplaceFileAtomically(file, text)) {
        error = "cannot write " + file.string();
        return false;
    }
    return true;
}

}  // namespace

stSavedDocument CDocumentFiles::Save(const stPrintedDocument& document, int number) {
    stSavedDocument saved;
    const std::filesystem::path png = NumberedFile(m_folder, number, "png");
    const std::filesystem::path text = NumberedFile(m_folder, number, "txt");
    saved.png = png.string();
    saved.text = text.string();
    saved.saved = WritePaperPng(png, DrawDocument(document, m_font), saved.error) &&
                  WriteTextLines(text, DocumentTextLines(document), saved.error);
    return saved;
}

}  // namespace hx
