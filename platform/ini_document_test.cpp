#include "platform/ini_document.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/cp949.h"

namespace hx {

namespace {

constexpr size_t kBuffer = 1024;

std::string Get(const CIniDocument& document, std::string_view section, std::string_view key,
                size_t buffer = kBuffer) {
    return document.GetString(section, key, "<default>", buffer);
}

TEST(IniDocumentLookup, CaseBlanksQuotesCommentsAndDefaults) {
    const CIniDocument document = CIniDocument::Parse(
        "orphan=before any section\r\n"
        "[Printer]\r\n"
        "  UseSRP330 =  ON  \r\n"
        ";Srt320Port=COM9\r\n"
        "  ; port=COM8\r\n"
        "Empty=\r\n"
        "[ dispenser ]\n"
        "PORT=\"COM4\"\n"
        "single='COM5'\n"
        "odd=\"COM6'\n"
        "inner=a \"b\" c\n"
        "[PRINTER]\n"
        "Srt320Port=COM7\n");
    EXPECT_EQ(Get(document, "printer", "usesrp330"), "ON");
    EXPECT_EQ(Get(document, "DISPENSER", "Port"), "COM4");
    EXPECT_EQ(Get(document, "Dispenser", "single"), "COM5");
    EXPECT_EQ(Get(document, "Dispenser", "odd"), "\"COM6'");
    EXPECT_EQ(Get(document, "Dispenser", "inner"), "a \"b\" c");
    // A present but empty value is not the default.
    EXPECT_EQ(Get(document, "Printer", "Empty"), "");
    // Comments hide keys; only the first section of a name counts.
    EXPECT_EQ(Get(document, "Printer", "Srt320Port"), "<default>");
    EXPECT_EQ(Get(document, "Printer", "port"), "<default>");
    EXPECT_EQ(Get(document, "", "orphan"), "<default>");
    EXPECT_EQ(Get(document, "Missing", "port"), "<default>");
    EXPECT_EQ(Get(document, "Printer", "Missing"), "<default>");
}

TEST(IniDocumentLookup, KoreanNamesAndValuesAreCp949AndCaseFoldsOnlyAscii) {
    // 0x81 0x41 and 0x81 0x61 are two different syllables whose trail bytes
    // happen to be 'A' and 'a'.
    const std::string upper = Utf8FromCp949("\x81\x41");
    const std::string lower = Utf8FromCp949("\x81\x61");
    ASSERT_NE(upper, lower);
    const CIniDocument document = CIniDocument::Parse(
        "[\x81\x41]\r\nKey=\xB4\xEB\xBD\xC7\r\n"
        "[\xBC\xF7\xB9\xDA]\r\n\xB4\xEB=1\r\n");
    EXPECT_EQ(Get(document, upper, "key"), "대실");
    EXPECT_EQ(Get(document, lower, "key"), "<default>");
    EXPECT_EQ(Get(document, "숙박", "대"), "1");
}

TEST(IniDocumentLookup, BufferLimitsCountCp949BytesAndNeverSplitACharacter) {
    const std::string longAscii(2000, 'A');
    const std::string korean = std::string(253, 'x') + "대실";  // bytes 253..254 and 255..256
    const CIniDocument document =
        CIniDocument::Parse("[Name]\r\n0=" + longAscii + "\r\n1=" + Cp949FromUtf8(korean) +
                            "\r\n2=" + Cp949FromUtf8("대실숙박") + "\r\n");
    EXPECT_EQ(Get(document, "Name", "0"), longAscii.substr(0, 1023));
    EXPECT_EQ(Get(document, "Name", "0", 255), longAscii.substr(0, 254));
    EXPECT_EQ(Get(document, "Name", "1", 255), std::string(253, 'x'));
    EXPECT_EQ(Get(document, "Name", "1", 256), std::string(253, 'x') + "대");
    EXPECT_EQ(Get(document, "Name", "2", 8), "대실숙");
    EXPECT_EQ(Get(document, "Name", "2", 6), "대실");
    EXPECT_EQ(Get(document, "Name", "2", 1), "");
    EXPECT_EQ(Get(document, "Name", "2", 0), "");
    // The default is cut the same way.
    EXPECT_EQ(document.GetString("Name", "missing", "숙박", 4), "숙");
}

TEST(IniDocumentEdit, SettingKeepsEveryOtherLineAndWritesCrLf) {
    CIniDocument document = CIniDocument::Parse(
        "; float of the bill dispensers\n"
        "[money]\n"
        "1000 = 5\n"
        "\n"
        "[Other]\n"
        "x=1");
    EXPECT_TRUE(document.SetString("Money", "1000", "7"));
    EXPECT_TRUE(document.SetString("Money", "5000", "대실"));
    EXPECT_TRUE(document.SetString("New", "RFCard", "3"));
    EXPECT_FALSE(document.SetString("MONEY", "1000", "7"));
    EXPECT_EQ(document.Serialize(),
              "; float of the bill dispensers\r\n"
              "[money]\r\n"
              "1000=7\r\n"
              "5000=\xB4\xEB\xBD\xC7\r\n"
              "\r\n"
              "[Other]\r\n"
              "x=1\r\n"
              "[New]\r\n"
              "RFCard=3\r\n");
    EXPECT_EQ(CIniDocument::Parse("").Serialize(), "");
}

TEST(IniDocumentEdit, DeletingRemovesEveryCopySoNoDuplicateShowsThrough) {
    CIniDocument document = CIniDocument::Parse(
        "[A]\r\nk=1\r\nK=2\r\nother=3\r\n"
        "[B]\r\n; about B\r\nb=1\r\n"
        "[a]\r\nk=4\r\n"
        "[b]\r\nb=2\r\n");
    EXPECT_TRUE(document.DeleteKey("a", "K"));
    EXPECT_EQ(Get(document, "A", "k"), "<default>");
    EXPECT_EQ(Get(document, "A", "other"), "3");
    EXPECT_FALSE(document.DeleteKey("A", "k"));
    EXPECT_FALSE(document.DeleteKey("Missing", "k"));

    EXPECT_TRUE(document.DeleteSection("B"));
    EXPECT_EQ(Get(document, "B", "b"), "<default>");
    EXPECT_FALSE(document.DeleteSection("B"));
    EXPECT_EQ(document.Serialize(), "[A]\r\nother=3\r\n[a]\r\nk=4\r\n");
}

TEST(IniDocumentEdit, RefusesTextThatWouldBreakTheFile) {
    EXPECT_TRUE(CIniDocument::CanHold("Name", "0", "방 101.png"));
    EXPECT_TRUE(CIniDocument::CanHold("Money", "1000", "a=b;c]"));
    EXPECT_FALSE(CIniDocument::CanHold("Name", "0", "x\r\n[Money]\r\n1000=999"));
    EXPECT_FALSE(CIniDocument::CanHold("Name", "0", "x\ny"));
    EXPECT_FALSE(CIniDocument::CanHold("Na\rme", "0", "x"));
    EXPECT_FALSE(CIniDocument::CanHold("Na]me", "0", "x"));
    EXPECT_FALSE(CIniDocument::CanHold("Name", "a=b", "x"));
    EXPECT_FALSE(CIniDocument::CanHold("Name", " ;comment", "x"));
    EXPECT_FALSE(CIniDocument::CanHold("Name", "[Money]", "x"));
}

}  // namespace

}  // namespace hx
