#include "platform/serial_port_name.h"

#include <gtest/gtest.h>

#include "tests/support/temp_drive.h"

namespace hx {
namespace {

TEST(SerialPortNameTest, NamesLeadToLinksDevicesOrNowhere) {
    const CTempDrive drive;
    const std::filesystem::path links = drive.MakeFolder("dosdevices");
    std::filesystem::create_symlink("/dev/pts/77", links / "com3");
    std::filesystem::create_symlink(drive.Folder() / "gone", links / "com12");
    const std::pair<const char*, std::filesystem::path> cases[] = {
        {"COM3", links / "com3"},
        {"com3", links / "com3"},
        {"\\\\.\\COM12", links / "com12"},  // a link to nothing is still the named port
        {"COM1", "/dev/ttyS0"},
        {"COM4", "/dev/ttyS3"},
        {"/dev/pts/5", "/dev/pts/5"},
        {"COM0", ""},
        {"COM", ""},
        {"COMx", ""},
        {"COM3a", ""},
        {"COM-1", ""},
        {"LPT1", ""},
        {"", ""},
        {"COM99999999999", ""},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(ResolveSerialPortPath(name), expected) << name;
    }
}

TEST(SerialPortNameTest, PortsOfferedAreTheLinkedOnesByNumber) {
    const CTempDrive drive;
    EXPECT_EQ(ListSerialPorts().size(), 10u) << "nothing linked: COM1 to COM10";
    const std::filesystem::path links = drive.MakeFolder("dosdevices");
    for (const char* name : {"com12", "com4", "lpt1", "comx"}) {
        std::filesystem::create_symlink("/dev/pts/77", links / name);
    }
    EXPECT_EQ(ListSerialPorts(), (std::vector<std::string>{"COM4", "COM12"}));
}

}  // namespace
}  // namespace hx
