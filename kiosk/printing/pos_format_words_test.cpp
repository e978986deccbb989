#include "kiosk/printing/pos_format_words.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

TEST(PosFormatWords, WordsBecomeCommandsAtCharacterBoundariesOnly) {
    const struct {
        std::string document;
        Bytes printed;
    } cases[] = {
        {"setBoldA\nclrBold", {0x1B, 'E', 1, 'A', '\n', 0x1B, 'E', 0}},
        {"setCenterxsetLeft", {0x1B, 'a', 1, 'x', 0x1B, 'a', 0}},
        {"setNormalsetDoubleWidthPatialCut",
         {0x1D, '!', 0, 0x1B, 'E', 0, 0x1D, '!', 0x10, 0x1D, 'V', 1}},
        // Raw commands pass through as they are.
        {"\x1D\x21\x22"
         "201",
         {0x1D, '!', 0x22, '2', '0', '1'}},
        // 0xB0 0x73 is one Korean character whose second byte is 's': the
        // "etBold" after it is text.
        {"\xB0setBold", {0xB0, 's', 'e', 't', 'B', 'o', 'l', 'd'}},
        {"setBol", {'s', 'e', 't', 'B', 'o', 'l'}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(TranslateFormatWords(test.document), test.printed) << test.document;
    }
}

}  // namespace

}  // namespace hx
