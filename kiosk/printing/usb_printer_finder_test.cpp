#include "kiosk/printing/usb_printer_finder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_folder.h"
#include "tests/support/usb_printer_tree.h"

namespace hx {

namespace {

TEST(UsbPrinterFinder, TheMakersPrintersInOrderAndNothingOutsideTheDeviceRoot) {
    CTempFolder folder("usb");
    const stUsbRoots roots = MakeUsbRoots(folder.Path());
    EXPECT_TRUE(FindUsbPrinterNodes(roots, "1504").empty()) << "no usbmisc class at all";

    AddUsbPrinter(roots, 2, "1504", "/dev/null");
    AddUsbPrinter(roots, 0, "04b8", "/dev/null");
    AddUsbPrinter(roots, 1, "1504", "/dev/null");
    // An entry whose uevent names a node outside the device root is no printer.
    AddUsbPrinter(roots, 3, "1504", "/dev/null");
    std::ofstream(roots.sysfs / "class/usbmisc/lp3/uevent") << "DEVNAME=../../etc/passwd\n";

    EXPECT_EQ(FindUsbPrinterNodes(roots, "1504"),
              (std::vector<std::filesystem::path>{roots.dev / "usb/lp1", roots.dev / "usb/lp2"}));
    EXPECT_EQ(FindUsbPrinterNodes(roots, "").size(), 3u) << "any maker's";
}

}  // namespace

}  // namespace hx
