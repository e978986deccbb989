#include "tools/prnsim/command_line.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(PrnSimCommandLineTest, ReadsItsOptionsAndRefusesOthers) {
    stPrnSimOptions options;
    std::string error;
    ASSERT_TRUE(ParsePrnSimCommandLine(
        {"--link", "/d/dosdevices/com0", "--usb-tree", "/d/usb", "--journal", "/d/j.jsonl", "--out",
         "/d/docs", "--columns", "42", "--state", "near-end", "--font", "/f.ttf"},
        options, error))
        << error;
    EXPECT_EQ(options.link, "/d/dosdevices/com0");
    EXPECT_EQ(options.usbTree, "/d/usb");
    EXPECT_EQ(options.journal, "/d/j.jsonl");
    EXPECT_EQ(options.out, "/d/docs");
    EXPECT_EQ(options.columns, 42);
    EXPECT_EQ(options.state, enumPrinterState::NearEnd);
    EXPECT_EQ(options.font, "/f.ttf");
    EXPECT_FALSE(options.help);

    const std::vector<std::vector<std::string>> refused = {
        {"--columns", "15"}, {"--columns", "97"}, {"--columns", "wide"}, {"--state", "jammed"},
        {"--link", ""},      {"--columns"},       {"--paper", "80"},     {"stray"},
    };
    for (const auto& args : refused) {
        stPrnSimOptions untouched;
        EXPECT_FALSE(ParsePrnSimCommandLine(args, untouched, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(PrnSimCommandLineTest, DocumentsGoToOutElseBesideTheJournalElseHere) {
    const struct {
        const char* out;
        const char* journal;
        const char* folder;
    } cases[] = {
        {"/d/docs", "/d/j.jsonl", "/d/docs"},
        {"", "/d/j.jsonl", "/d"},
        {"", "j.jsonl", "."},
        {"", "", "."},
    };
    for (const auto& c : cases) {
        stPrnSimOptions options;
        options.out = c.out;
        options.journal = c.journal;
        EXPECT_EQ(DocumentFolder(options), c.folder) << c.out << " " << c.journal;
    }
}

}  // namespace

}  // namespace hx
