#include "tools/prnsim/receipt_printer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/prnsim/testing_receipts.h"

namespace hx {

namespace {

using namespace std::string_literals;

const std::string kCut = "\x1dV\x00"s;

class ReceiptPrinterTest : public testing::Test {
protected:
    void Write(const std::string& bytes) {
        for (const stPrinterPiece& piece : m_reader.Feed(PrinterBytes(bytes))) {
            m_printer.Take(piece);
        }
    }

    // The journal's entries of one event.
    std::vector<nlohmann::json> Events(const std::string& name) const {
        std::vector<nlohmann::json> entries;
        for (const nlohmann::json& entry : m_events) {
            if (entry["event"] == name) {
                entries.push_back(entry);
            }
        }
        return entries;
    }

    std::vector<uint8_t> m_answers;
    std::vector<stPrintedDocument> m_saved;
    std::vector<nlohmann::json> m_events;
    CEscPosReader m_reader;
    CReceiptPrinter m_printer{
        576, enumPrinterState::Ready,
        [this](uint8_t answer) {
            m_answers.push_back(answer);
            return true;
        },
        [this](const stPrintedDocument& document, int number) {
            m_saved.push_back(document);
            stSavedDocument saved;
            saved.png = "doc-" + std::to_string(number) + ".png";
            saved.text = "doc-" + std::to_string(number) + ".txt";
            saved.saved = number != 2;
            saved.error = saved.saved ? "" : "disk full";
            return saved;
        },
        [this](nlohmann::json entry) { m_events.push_back(std::move(entry)); }};
};

TEST_F(ReceiptPrinterTest, AnswersAStatusRequestAtOnceInTheMiddleOfADocument) {
    Write("\x1b@AB\x10\x04\x04");
    EXPECT_EQ(m_answers, std::vector<uint8_t>{0x12});
    EXPECT_TRUE(m_saved.empty());
    Write("CD\n" + kCut);
    ASSERT_EQ(m_saved.size(), 1u);
    EXPECT_EQ(DocumentTextLines(m_saved[0]), (std::vector<std::string>{"ABCD", "---- cut ----"}));
    const std::vector<nlohmann::json> requests = Events("status request");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0]["n"], 4);
    EXPECT_EQ(requests[0]["answer"], "12");
}

TEST_F(ReceiptPrinterTest, JournalsEachDocumentWithItsFilesAndLayout) {
    Write(
        "\x1b@\x1b\x61\x01\x1d!\x11"
        "Hello\n" +
        kCut + "\x1b@x" + kCut);
    const std::vector<nlohmann::json> documents = Events("document");
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0]["number"], 1);
    EXPECT_EQ(documents[0]["png"], "doc-1.png");
    EXPECT_EQ(documents[0]["text"], "doc-1.txt");
    EXPECT_EQ(documents[0]["saved"], true);
    EXPECT_FALSE(documents[0].contains("error"));
    EXPECT_EQ(documents[0]["width"], 576);
    EXPECT_EQ(documents[0]["height"], 54);
    EXPECT_EQ(documents[0]["lines"][0]["text"], "Hello");
    EXPECT_EQ(documents[0]["lines"][0]["align"], "centre");
    EXPECT_EQ(documents[0]["lines"][0]["runs"][0]["size"], "2x2");
    EXPECT_EQ(documents[1]["saved"], false);
    EXPECT_EQ(documents[1]["error"], "disk full");
    EXPECT_EQ(documents[1]["lines"][0]["text"], "x") << "text left at the cut is printed";

    EXPECT_EQ(m_printer.Counts().documents, 2);
    ASSERT_EQ(m_printer.Recent().size(), 2u);
    EXPECT_EQ(m_printer.Recent()[0].number, 1);
    EXPECT_EQ(m_printer.Recent()[0].lines, 1);
    EXPECT_EQ(m_printer.Recent()[0].height, 54);
}

TEST_F(ReceiptPrinterTest, JournalsBadBytesOncePerDocument) {
    Write("\x1b@A" + std::string(40, '\x07') + "\n\x0d" + kCut + "\x1b@clean\n" + kCut);
    const std::vector<nlohmann::json> bad = Events("bad bytes");
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0]["document"], 1);
    EXPECT_EQ(bad[0]["count"], 41);
    EXPECT_EQ(bad[0]["bytes"].get<std::string>().size(), 32u * 3 - 1) << "32 bytes at most";
    ASSERT_EQ(Events("document").size(), 2u);
    EXPECT_EQ(Events("document")[0]["badBytes"], 41);
    EXPECT_EQ(Events("document")[1]["badBytes"], 0);
}

TEST_F(ReceiptPrinterTest, DropsDocumentsWhileItCannotPrintAndStillAnswers) {
    m_printer.SetState(enumPrinterState::PaperOut);
    const std::string document = "\x1b@receipt\n" + kCut;  // 13 bytes
    Write(document + "\x10\x04\x04" + document);
    EXPECT_EQ(m_answers, std::vector<uint8_t>{0x72});
    EXPECT_TRUE(m_saved.empty());
    // Each dropped cut reports its document's bytes.
    const std::vector<nlohmann::json> dropped = Events("dropped");
    ASSERT_EQ(dropped.size(), 2u);
    EXPECT_EQ(dropped[0]["bytes"], 13);
    EXPECT_EQ(dropped[0]["state"], "paper-out");

    // Bytes with no cut yet are reported when the line goes quiet, or the state changes.
    Write("\x1b@part");
    m_printer.LineQuiet();
    Write("ial");
    m_printer.SetState(enumPrinterState::Ready);
    m_printer.LineQuiet();
    ASSERT_EQ(Events("dropped").size(), 4u);
    EXPECT_EQ(Events("dropped")[2]["bytes"], 6);
    EXPECT_EQ(Events("dropped")[3]["bytes"], 3);
    EXPECT_EQ(m_printer.Counts().droppedBytes, 35);

    Write(document);
    ASSERT_EQ(m_saved.size(), 1u);
    EXPECT_EQ(DocumentTextLines(m_saved[0])[0], "receipt");
}

TEST_F(ReceiptPrinterTest, SilenceAnswersNothingButStillPrints) {
    m_printer.SetState(enumPrinterState::Silent);
    Write("\x10\x04\x01\x1b@A\n" + kCut);
    EXPECT_TRUE(m_answers.empty());
    EXPECT_EQ(m_saved.size(), 1u);
    EXPECT_EQ(Events("status request")[0]["answer"], "silent");
    EXPECT_EQ(m_printer.Counts().unanswered, 1);
    EXPECT_EQ(m_printer.Counts().answered, 0);
}

TEST_F(ReceiptPrinterTest, PrintsNothingMoreOfAnOversizedDocumentUpToItsCut) {
    std::string bolds;
    while (bolds.size() <= kMostDocumentBytes) {
        bolds += "\x1b\x45\x01";
    }
    Write("\x1b@A\n" + bolds + "lost\n\x10\x04\x01" + kCut + "\x1b@next\n" + kCut);
    EXPECT_EQ(m_answers, std::vector<uint8_t>{0x12}) << "status requests are still answered";
    ASSERT_EQ(m_saved.size(), 2u);
    EXPECT_EQ(DocumentTextLines(m_saved[0]), (std::vector<std::string>{"A", "---- cut ----"}));
    EXPECT_EQ(DocumentTextLines(m_saved[1]), (std::vector<std::string>{"next", "---- cut ----"}));
    const std::vector<nlohmann::json> oversized = Events("oversized");
    ASSERT_EQ(oversized.size(), 1u);
    EXPECT_EQ(oversized[0]["document"], 1);
    EXPECT_EQ(oversized[0]["reason"], "bytes");
    EXPECT_EQ(oversized[0]["limit"], kMostDocumentBytes);
    EXPECT_EQ(Events("document")[0]["cutOff"], "bytes");
}

TEST_F(ReceiptPrinterTest, ADocumentCutOffByItsOwnCutDoesNotSkipTheNext) {
    std::string paper = "\x1b@";
    for (int fed = 0; fed < kLongestPaperDots - 255; fed += 255) {
        paper += "\x1bJ\xff";
    }
    Write(paper + "\x1dVA\xff" + "\x1b@next\n" + kCut);
    ASSERT_EQ(m_saved.size(), 2u);
    EXPECT_EQ(m_saved[0].cutOff, enumCutOff::Paper);
    EXPECT_EQ(DocumentTextLines(m_saved[1])[0], "next");
}

}  // namespace

}  // namespace hx
