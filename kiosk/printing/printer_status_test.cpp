// Both printers answer a status request with one byte of the real-time
// status; each driver reads it its own way.
#include <gtest/gtest.h>

#include "kiosk/printing/pos_printer_line.h"
#include "kiosk/printing/srp330_printer.h"

namespace hx {

namespace {

TEST(PrinterStatus, TheUsbPrinterDecidesByTheFirstSetBit) {
    const struct {
        uint8_t status;
        int result;
    } cases[] = {{0x0C, 104}, {0x28, 105}, {0x60, 103}, {0x12, 101}, {0x52, 105}, {0x1E, 104}};
    for (const auto& test : cases) {
        EXPECT_EQ(CSrp330Printer::StatusFromByte(test.status), test.result) << int{test.status};
    }
}

TEST(PrinterStatus, TheSerialLibraryKnowsPaperOutAndRefusesWhatIsNoStatus) {
    const struct {
        int request;
        uint8_t status;
        int answer;
    } cases[] = {
        {4, 0x12, 1}, {4, 0x1E, 1},   {4, 0x72, 3},   {2, 0x32, 3},
        {2, 0x16, 1}, {4, 0x00, 200}, {4, 0xFF, 200}, {4, 0x13, 200},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(CPosPrinterLine::StatusAnswer(test.request, test.status), test.answer)
            << test.request << " " << int{test.status};
    }
}

}  // namespace

}  // namespace hx
