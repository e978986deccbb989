#include "tools/prnsim/usb_tree.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

namespace fs = std::filesystem;

// What the kiosk does: the node of the usbmisc entry whose device's vendor
// id is the printer maker's; empty when there is none.
fs::path FindPrinterNode(const fs::path& sys, const fs::path& dev) {
    std::error_code code;
    for (const fs::directory_entry& entry : fs::directory_iterator(sys / "class/usbmisc", code)) {
        if (!entry.path().filename().string().starts_with("lp") ||
            ReadWholeFile(entry.path() / "device/../idVendor") != "1504\n") {
            continue;
        }
        for (const std::string& line : ReadLines(entry.path() / "uevent")) {
            if (line.starts_with("DEVNAME=")) {
                return dev / line.substr(8);
            }
        }
    }
    return {};
}

TEST(UsbTreeTest, LeadsTheKiosksLookupToThePrinterNode) {
    CTempFolder folder("prnsim");
    const fs::path tree = folder.Path() / "usb";
    std::string error;
    ASSERT_TRUE(BuildUsbTree(tree, error)) << error;
    EXPECT_EQ(FindPrinterNode(tree / "sys", tree / "dev"), tree / "dev/usb/lp0");
    EXPECT_EQ(UsbPrinterNode(tree), tree / "dev/usb/lp0");
    EXPECT_TRUE(fs::is_directory(UsbPrinterNode(tree).parent_path()));
    EXPECT_EQ(ReadWholeFile(tree / "sys/class/usbmisc/lp0/uevent"),
              "MAJOR=180\nMINOR=0\nDEVNAME=usb/lp0\n");

    // An earlier run's tree is taken over.
    ASSERT_TRUE(BuildUsbTree(tree, error)) << error;
    EXPECT_EQ(FindPrinterNode(tree / "sys", tree / "dev"), tree / "dev/usb/lp0");

    RemoveUsbClassEntry(tree);
    EXPECT_FALSE(fs::exists(tree / "sys/class/usbmisc/lp0"));
    EXPECT_EQ(FindPrinterNode(tree / "sys", tree / "dev"), fs::path());
}

TEST(UsbTreeTest, NeverReplacesAFolderWhereItsLinkGoes) {
    CTempFolder folder("prnsim");
    const fs::path tree = folder.Path() / "usb";
    fs::create_directories(tree / "sys/class/usbmisc/lp0/device");
    WriteWholeFile(tree / "sys/class/usbmisc/lp0/device/keep", "data");
    std::string error;
    EXPECT_FALSE(BuildUsbTree(tree, error));
    EXPECT_NE(error.find("device"), std::string::npos) << error;

    RemoveUsbClassEntry(tree);
    EXPECT_EQ(ReadWholeFile(tree / "sys/class/usbmisc/lp0/device/keep"), "data");
}

}  // namespace

}  // namespace hx
