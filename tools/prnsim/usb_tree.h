#pragma once
// A made-up sysfs and /dev under one folder, where the kiosk looks for its
// USB receipt printer: it lists DIR/sys/class/usbmisc/lp*, keeps the entry
// whose device/../idVendor reads the printer maker's id, and opens DIR/dev/
// plus the DEVNAME of that entry's uevent. The node itself is a link to the
// simulator's pseudo-terminal, made and removed with the simulator's other
// links.

#include <filesystem>
#include <string>

namespace hx {

inline constexpr char kPrinterVendorId[] = "1504";

// DIR/dev/usb/lp0.
std::filesystem::path UsbPrinterNode(const std::filesystem::path& tree);
// The class entry, the device folder with its vendor id, and DIR/dev/usb;
// files and links an earlier run left are replaced. False with the reason.
bool BuildUsbTree(const std::filesystem::path& tree, std::string& error);
// The printer is unplugged: its class entry goes.
void RemoveUsbClassEntry(const std::filesystem::path& tree);

}  // namespace hx
