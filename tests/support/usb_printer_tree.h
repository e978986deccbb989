#pragma once
// For tests: a made-up sysfs tree with USB printers in it, as the kernel
// lays them out: class/usbmisc/lpN with a uevent naming the node and a
// "device" link to the USB interface, whose parent holds idVendor; the node
// below the device root links to where the test wants it (a pseudo-terminal).

#include <filesystem>
#include <fstream>
#include <string>

#include "kiosk/printing/usb_printer_finder.h"

namespace hx {

inline stUsbRoots MakeUsbRoots(const std::filesystem::path& folder) {
    return {folder / "sys", folder / "dev"};
}

inline void AddUsbPrinter(const stUsbRoots& roots, int number, const std::string& vendor,
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

}  // namespace hx
