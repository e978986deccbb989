#include "kiosk/printing/printer_choice.h"

#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

TEST(PrinterChoice, OnlyAnExactOnChoosesTheUsbPrinter) {
    CTempFolder folder("choice");
    const std::filesystem::path ini = folder.Path() / "HXKiosk.ini";
    EXPECT_EQ(ReadPrinterChoice(ini).model, enumPrinterModel::Srt320) << "no file";
    EXPECT_EQ(ReadPrinterChoice(ini).srt320Port, "COM0");
    EXPECT_EQ(ReadPrinterChoice(ini).usbRoots.sysfs, "/sys");

    for (const char* value : {"on", "OFF", "", "ONE"}) {
        ASSERT_TRUE(WritePrivateProfileString("Printer", "UseSRP330", value, ini));
        EXPECT_EQ(ReadPrinterChoice(ini).model, enumPrinterModel::Srt320) << value;
    }
    ASSERT_TRUE(WritePrivateProfileString("Printer", "Srt320Port", "COM5", ini));
    EXPECT_EQ(ReadPrinterChoice(ini).srt320Port, "COM5");
    ASSERT_TRUE(WritePrivateProfileString("Printer", "UseSRP330", "ON", ini));
    EXPECT_EQ(ReadPrinterChoice(ini).model, enumPrinterModel::Srp330);
}

}  // namespace

}  // namespace hx
