#include "tools/prnsim/printer_console.h"

#include <gtest/gtest.h>

#include "tools/prnsim/testing_receipts.h"

namespace hx {

namespace {

using namespace std::string_literals;

class PrinterConsoleTest : public testing::Test {
protected:
    void Print(const std::string& bytes) {
        for (const stPrinterPiece& piece : m_reader.Feed(PrinterBytes(bytes))) {
            m_printer.Take(piece);
        }
    }

    std::vector<uint8_t> m_answers;
    CEscPosReader m_reader;
    CReceiptPrinter m_printer{576, enumPrinterState::Ready,
                              [this](uint8_t answer) {
                                  m_answers.push_back(answer);
                                  return true;
                              },
                              [](const stPrintedDocument&, int number) {
                                  stSavedDocument saved;
                                  saved.png = "/out/doc-" + std::to_string(number) + ".png";
                                  saved.text = "/out/doc-" + std::to_string(number) + ".txt";
                                  saved.saved = number == 1;
                                  saved.error = "disk full";
                                  return saved;
                              },
                              [](nlohmann::json) {}};
    CPrinterConsole m_console{m_printer};
};

TEST_F(PrinterConsoleTest, RepliesToEachLineAndChangesNothingOnAnError) {
    const std::pair<const char*, const char*> kLines[] = {
        {"status", "ok state=ready documents=0 dropped=0 answered=0 unanswered=0"},
        {"state paper-out", "ok state paper-out"},
        {"state  cover-open  ", "ok state cover-open"},
        {"state", "error: state ready|near-end|paper-out|cover-open|feed|error|silent"},
        {"state jammed", "error: state ready|near-end|paper-out|cover-open|feed|error|silent"},
        {"state ready now", "error: state ready|near-end|paper-out|cover-open|feed|error|silent"},
        {"status now", "error: say state|status|documents|help|quit"},
        {"", "error: say state|status|documents|help|quit"},
        {"print", "error: say state|status|documents|help|quit"},
        {"status", "ok state=cover-open documents=0 dropped=0 answered=0 unanswered=0"},
        {"documents", "ok documents 0"},
    };
    for (const auto& [line, reply] : kLines) {
        EXPECT_EQ(m_console.Execute(line), reply) << line;
    }
    EXPECT_FALSE(m_console.QuitAsked());
    EXPECT_EQ(m_console.Execute("quit"), "ok quitting");
    EXPECT_TRUE(m_console.QuitAsked());
}

TEST_F(PrinterConsoleTest, ShowsWhatThePrinterDidAndItsLastDocuments) {
    Print("\x1b@A\nB\n\x1dV\x00\x10\x04\x04"s);
    EXPECT_EQ(m_console.Execute("state silent"), "ok state silent");
    Print("\x1b@C\x1dV\x00\x10\x04\x01"s);
    EXPECT_EQ(m_console.Execute("state error"), "ok state error");
    Print("\x1b@dropped\n");
    EXPECT_EQ(m_console.Execute("status"),
              "ok state=error documents=2 dropped=10 answered=1 unanswered=1");
    EXPECT_EQ(m_console.Execute("documents"),
              "ok documents 2\n"
              "  #1 /out/doc-1.png /out/doc-1.txt 2 lines 60 dots\n"
              "  #2 not saved: disk full");
}

TEST_F(PrinterConsoleTest, HelpListsEveryCommandOnIndentedLines) {
    const std::string reply = m_console.Execute("help");
    ASSERT_TRUE(reply.starts_with("ok commands\n  state NAME")) << reply;
    EXPECT_FALSE(reply.ends_with("\n"));
    for (const char* command : {"\n  status", "\n  documents", "\n  help", "\n  quit"}) {
        EXPECT_NE(reply.find(command), std::string::npos) << command;
    }
    size_t lineStart = 0;
    while ((lineStart = reply.find('\n', lineStart)) != std::string::npos) {
        EXPECT_EQ(reply.substr(++lineStart, 2), "  ") << "a further line is indented";
    }
}

}  // namespace

}  // namespace hx
