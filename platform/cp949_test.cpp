#include "platform/cp949.h"

#include <gtest/gtest.h>

#include <string>

namespace hx {

namespace {

using namespace std::string_literals;

TEST(Cp949Codec, KoreanTextHasItsCodePageBytesAndComesBack) {
    EXPECT_EQ(Cp949FromUtf8("대"), "\xB4\xEB");
    EXPECT_EQ(Cp949FromUtf8("대실"), "\xB4\xEB\xBD\xC7");
    EXPECT_EQ(Cp949FromUtf8("숙박"), "\xBC\xF7\xB9\xDA");
    EXPECT_EQ(Cp949FromUtf8("기록 실패"), "\xB1\xE2\xB7\xCF \xBD\xC7\xC6\xD0");
    // Hangul outside the 2,350 common syllables lives in the extended area.
    EXPECT_EQ(Cp949FromUtf8("똠"), "\x8C\x63");

    for (const std::string text : {"대실", "숙박", "%s 기록 실패. AppName=%s", "갂똠햏 ㈜ €"}) {
        EXPECT_EQ(Utf8FromCp949(Cp949FromUtf8(text)), text);
    }
}

TEST(Cp949Codec, AsciiPassesUnchangedIncludingZeroBytes) {
    const std::string ascii = "c:\\Harlix\\INI\\SaveMoney.ini\r\n\t~\x01"s + '\0' + "end";
    EXPECT_EQ(Cp949FromUtf8(ascii), ascii);
    EXPECT_EQ(Utf8FromCp949(ascii), ascii);
    EXPECT_EQ(Cp949FromUtf8(""), "");
    EXPECT_EQ(Utf8FromCp949(""), "");
}

TEST(Cp949Codec, UnconvertibleOrMalformedUtf8BecomesOneQuestionMarkAndGoesOn) {
    EXPECT_EQ(Cp949FromUtf8("a😀b대"), "a?b\xB4\xEB");      // no such character in CP949
    EXPECT_EQ(Cp949FromUtf8("a\xFF."), "a?.");             // not UTF-8 at all
    EXPECT_EQ(Cp949FromUtf8("\xC0\xAF"), "??");            // overlong '/'
    EXPECT_EQ(Cp949FromUtf8("\xED\xA0\x80"), "???");       // encoded surrogate
    EXPECT_EQ(Cp949FromUtf8("대\xEB\x8C"), "\xB4\xEB??");  // cut off at the end
    EXPECT_EQ(Cp949FromUtf8("\x80\x80\x80 ok"), "??? ok");
}

TEST(Cp949Codec, MalformedCp949BecomesQuestionMarksWithoutSwallowingAscii) {
    EXPECT_EQ(Utf8FromCp949("A\xB4"), "A?");         // lone lead byte at the end
    EXPECT_EQ(Utf8FromCp949("\xB4 A"), "? A");       // lead byte before a non-trail byte
    EXPECT_EQ(Utf8FromCp949("\x80|\xFF|"), "?|?|");  // bytes that start nothing
    EXPECT_EQ(Utf8FromCp949("\xC9\x41\x41"), "?A");  // unassigned pair: one character
    EXPECT_EQ(Utf8FromCp949("\xB4\xEB\xB4"), "대?");
}

TEST(Cp949Codec, PrefixLengthNeverSplitsATwoByteCharacter) {
    const std::string text = Cp949FromUtf8("A대실");  // 1 + 2 + 2 bytes
    EXPECT_EQ(Cp949PrefixLength(text, 0), 0u);
    EXPECT_EQ(Cp949PrefixLength(text, 1), 1u);
    EXPECT_EQ(Cp949PrefixLength(text, 2), 1u);
    EXPECT_EQ(Cp949PrefixLength(text, 3), 3u);
    EXPECT_EQ(Cp949PrefixLength(text, 4), 3u);
    EXPECT_EQ(Cp949PrefixLength(text, 5), 5u);
    EXPECT_EQ(Cp949PrefixLength(text, 500), 5u);
    // A trail byte may look like ASCII ('A' is 0x41): it still belongs to its lead.
    EXPECT_EQ(Cp949PrefixLength("\x81\x41\x41", 1), 0u);
    EXPECT_EQ(Cp949PrefixLength("\x81\x41\x41", 2), 2u);
    // A lead byte with nothing after it is a byte of its own.
    EXPECT_EQ(Cp949PrefixLength("ab\xB4", 3), 3u);
}

}  // namespace

}  // namespace hx
