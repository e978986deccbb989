#include "kiosk/printing/usb_printer_finder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/temp_folder.h"

namespace hx {

namespace {

// A made-up sysfs tree laid out as the kernel lays out USB printers:
// class/usbmisc/lpN with a uevent naming the node and a "device" link to the
// USB interface, whose parent holds idVendor.
stUsbRoots MakeUsbRoots(const std::filesystem::path& folder) {
    return {folder / "sys", folder / "dev"};
}

void AddUsbPrinter(const stUsbRoots& roots, int number, const std::string& vendor,
                   const std::filesystem::path& node) {
    const std::string name = "lp" + std::to_string(number);
    const std::filesystem::path usb =
        roots.sysfs / "devices" / "usb1" / ("1-" + std::to_string(number + 1));
    const std::filesystem::path interface = usb / (usb.filename().string() + ":1.0");
    const std::filesystem::path classDevice = roots.sysfs / "class" / "usbmisc" / name;
    std::filesystem::create_directories(interface);
    std::filesystem::create_directories(classDevice);
    std::filesystem::create_directories(roots.dev / "usb");
    std::ofstream(usb / "idVendor") << vendor << "\n";
    std::ofstream(classDevice / "uevent")
        << "MAJOR=180\nMINOR=" << number << "\nDEVNAME=usb/" << name << "\n";
    std::filesystem::create_directory_symlink(interface, classDevice / "device");
    std::filesystem::create_symlink(node, roots.dev / "usb" / name);
}

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
