#include "kiosk/printing/srt320_printer.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "kiosk/printing/printer_result.h"

namespace hx {

namespace {

using Lines = std::vector<std::string>;

// The maker's library as the driver relies on it: answers given by the test,
// calls recorded.
class CScriptedPosLibrary : public IPosPrinterLibrary {
public:
    std::deque<int> opens;
    std::deque<int> answers;  // to Print and Status, in order
    Lines calls;

    void Close() override { calls.push_back("close"); }
    int Open(const char* port, int speed) override {
        calls.push_back("open " + std::string(port) + " " + std::to_string(speed));
        return Next(opens, 1);
    }
    int Print(const char* document) override {
        calls.push_back("print " + std::string(document));
        return Next(answers, 1);
    }
    int Status(int request) override {
        calls.push_back("status " + std::to_string(request));
        return Next(answers, 1);
    }

private:
    static int Next(std::deque<int>& queue, int otherwise) {
        if (queue.empty()) {
            return otherwise;
        }
        const int next = queue.front();
        queue.pop_front();
        return next;
    }
};

class Srt320Printer : public ::testing::Test {
protected:
    CScriptedPosLibrary m_library;
    Lines m_log;
    CSrt320Printer m_printer{m_library,
                             [this](std::string_view line) { m_log.emplace_back(line); }};
};

TEST_F(Srt320Printer, StatusAnswersBecomeResultsAndOnlyFaultsAreLogged) {
    const struct {
        int answer;
        int result;  // as the kiosk hears it
        Lines log;
    } cases[] = {
        {7, PRINTER_READY, {}},
        {3, PRINTER_PAPER_OUT, {"프린터 이상 발생[5]"}},
        {101, PRINTER_NOT_OPENED, {"프린터 이상 발생[4]"}},
        {200, PRINTER_READY, {"프린터 체크 실패[200]", "프린터 이상 발생[2]"}},
        {-1, PRINTER_READY, {"프린터 체크 실패[-1]", "프린터 이상 발생[2]"}},
    };
    for (const auto& test : cases) {
        m_log.clear();
        m_library.calls.clear();
        m_library.answers = {test.answer};
        EXPECT_EQ(ConvertErrCode(m_printer.Status()), test.result) << test.answer;
        EXPECT_EQ(m_log, test.log) << test.answer;
        EXPECT_EQ(m_library.calls, (Lines{"open COM0 115200", "status 4", "close"}));
    }
}

TEST_F(Srt320Printer, APrintAnswered101IsSentOnceMoreOnAReopenedPort) {
    const struct {
        std::deque<int> answers;
        bool ticket;
        int result;
        size_t prints;
    } cases[] = {
        {{1}, true, PRINTER_READY, 1},
        {{0}, true, PRINTER_FAULT, 1},
        {{2}, true, PRINTER_FAULT, 1},
        {{101, 1}, true, PRINTER_READY, 2},
        {{101, 101}, true, PRINTER_NOT_OPENED, 2},
        {{200}, true, PRINTER_NOT_OPENED, 1},
        {{200}, false, PRINTER_READY, 1},
    };
    for (const auto& test : cases) {
        m_library.calls.clear();
        m_library.answers = test.answers;
        EXPECT_EQ(ConvertErrCode(m_printer.PrintDocument("doc", test.ticket)), test.result)
            << test.answers.front() << " ticket " << test.ticket;
        EXPECT_EQ(std::count(m_library.calls.begin(), m_library.calls.end(), "print doc"),
                  static_cast<long>(test.prints));
        EXPECT_EQ(m_library.calls.back(), "close");
    }
}

TEST_F(Srt320Printer, APortThatWillNotOpenFailsEveryOperation) {
    m_library.opens = {0, 1, 0};
    EXPECT_EQ(m_printer.Status(), SRT320_NOT_OPENED);
    m_library.answers = {101};
    EXPECT_EQ(m_printer.PrintDocument("doc", true), SRT320_NOT_OPENED) << "the reopen fails";
    EXPECT_EQ(m_log, (Lines{"프린트 오픈 실패.", "프린트 오픈 실패."}));

    m_library.calls.clear();
    for (const char* port : {"USB", "usb", "COM3"}) {
        m_printer.SetPortName(port);
        m_printer.Status();
    }
    EXPECT_EQ(m_library.calls[0], "open USB 0");
    EXPECT_EQ(m_library.calls[3], "open usb 115200");
    EXPECT_EQ(m_library.calls[6], "open COM3 115200");
}

}  // namespace

}  // namespace hx
