#include "tools/prnsim/document_files.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"
#include "tools/prnsim/command_line.h"
#include "tools/prnsim/testing_receipts.h"

namespace hx {

namespace {

using namespace std::string_literals;

// The picture's size as a PNG reader sees it; 0 x 0 when it reads none.
std::pair<int, int> PngSize(const std::string& file) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, file.c_str()) == 0) {
        return {0, 0};
    }
    const std::pair<int, int> size{static_cast<int>(png.width), static_cast<int>(png.height)};
    png_image_free(&png);
    return size;
}

class DocumentFilesTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(m_font.Open(kDefaultPrinterFont, error)) << error;
    }

    CTempFolder m_folder{"prnsim"};
    CGlyphFont m_font;
};

TEST_F(DocumentFilesTest, WritesThePictureAndTheTextUnderTheDocumentsNumber) {
    CDocumentFiles files(m_folder.Path(), m_font);
    const stPrintedDocument document = LaidOut("\x1b@\x1b\x61\x02" + Cp949("객실 305호  ") +
                                               "\n\x1d!\x22" + Cp949("한글") + "\n\n\x1dV\x00"s);
    const stSavedDocument saved = files.Save(document, 7);
    ASSERT_TRUE(saved.saved) << saved.error;
    EXPECT_EQ(saved.png, (m_folder.Path() / "doc-0007.png").string());
    EXPECT_EQ(saved.text, (m_folder.Path() / "doc-0007.txt").string());
    EXPECT_EQ(PngSize(saved.png), std::make_pair(576, 30 + 78 + 30));
    EXPECT_EQ(ReadWholeFile(saved.text), "객실 305호  \n한글\n\n---- cut ----\n");
}

TEST_F(DocumentFilesTest, SaysWhyADocumentCouldNotBeSaved) {
    CDocumentFiles files(m_folder.Path() / "missing", m_font);
    const stSavedDocument saved = files.Save(LaidOut("\x1b@A\n\x1dV\x00"s), 1);
    EXPECT_FALSE(saved.saved);
    EXPECT_NE(saved.error.find("doc-0001.png"), std::string::npos) << saved.error;
}

}  // namespace

}  // namespace hx
