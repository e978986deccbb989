#pragma once
// Finding a USB receipt printer's device node through sysfs: the printer
// class devices (class/usbmisc/lp*) whose USB device has the vendor id
// asked for, and the node each one's uevent names below the device root.
// Both roots are settings, so a test or the demo can give a made-up tree.

#include <filesystem>
#include <string_view>
#include <vector>

namespace hx {

struct stUsbRoots {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path dev = "/dev";
};

// Device nodes in the order of their class names (lp0, lp1, ...); an empty
// vendor matches every printer. Unreadable entries are skipped.
std::vector<std::filesystem::path> FindUsbPrinterNodes(const stUsbRoots& roots,
                                                       std::string_view vendorId);

}  // namespace hx
