#include "tools/prnsim/usb_tree.h"

#include "platform/atomic_file.h"
#include "tools/common/slave_link.h"

namespace hx {

namespace {

namespace fs = std::filesystem;

fs::path ClassEntry(const fs::path& tree) {
    return tree / "sys/class/usbmisc/lp0";
}

fs::path UsbDevice(const fs::path& tree) {
    return tree / "sys/devices/usb1/1-1";
}

bool MakeFolder(const fs::path& folder, std::string& error) {
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) {
        error = "cannot make " + folder.string() + ": " + code.message();
        return false;
    }
    return true;
}

bool WriteSmallFile(const fs::path& file, const std::string& text, std::string& error) {
    if (!ReplaceFileAtomically(file, text)) {
        error = "cannot write " + file.string();
        return false;
    }
    return true;
}

}  // namespace

fs::path UsbPrinterNode(const fs::path& tree) {
    return tree / "dev/usb/lp0";
}

bool BuildUsbTree(const fs::path& tree, std::string& error) {
    const fs::path entry = ClassEntry(tree);
    // Relative, as sysfs makes it, so the tree may be moved or mounted elsewhere.
    const std::string interfaceFromEntry = "../../../devices/usb1/1-1/1-1:1.0";
    return MakeFolder(UsbDevice(tree) / "1-1:1.0", error) &&
           WriteSmallFile(UsbDevice(tree) / "idVendor", std::string(kPrinterVendorId) + "\n",
                          error) &&
           MakeFolder(entry, error) &&
           WriteSmallFile(entry / "uevent", "MAJOR=180\nMINOR=0\nDEVNAME=usb/lp0\n", error) &&
           MakeSlaveLink(entry / "device", interfaceFromEntry, error) &&
           MakeFolder(UsbPrinterNode(tree).parent_path(), error);
}

void RemoveUsbClassEntry(const fs::path& tree) {
    const fs::path entry = ClassEntry(tree);
    std::error_code code;
    if (fs::is_symlink(fs::symlink_status(entry / "device", code))) {
        fs::remove(entry / "device", code);
    }
    fs::remove(entry / "uevent", code);
    fs::remove(entry, code);  // only when nothing else was put there
}

}  // namespace hx
