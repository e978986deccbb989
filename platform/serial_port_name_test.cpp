#include "platform/serial_port_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "tests/support/temp_drive.h"

namespace hx {
namespace {

TEST(SerialPortNameTest, NamesLeadToLinksDevicesOrNowhere) {
    const CTempDrive drive;
    const std::filesystem::path links = drive.MakeFolder("dosdevices");
    std::filesystem::create_symlink("/dev/pts/77", links / "com3");
    std::filesystem::create_symlink(drive.Folder() / "gone", links / "com12");
    std::filesystem::create_symlink("/dev/pts/78", links / "com0");
    const std::pair<const char*, std::filesystem::path> cases[] = {
        {"COM3", links / "com3"},
        {"com3", links / "com3"},
        {"\\\\.\\COM12", links / "com12"},  // a link to nothing is still the named port
        {"COM1", "/dev/ttyS0"},
        {"COM4", "/dev/ttyS3"},
        {"/dev/pts/5", "/dev/pts/5"},
        {"COM0", links / "com0"},  // the receipt printer's default port: a link or nothing
        {"COM00", links / "com0"},
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
    const size_t system = SystemComPortNumbers().size();
    EXPECT_EQ(ListSerialPorts().size(), system == 0 ? 10u : system)
        << "nothing linked: the system's ports, or COM1 to COM10";
    const std::filesystem::path links = drive.MakeFolder("dosdevices");
    for (const char* name : {"com12", "com4", "lpt1", "comx"}) {
        std::filesystem::create_symlink("/dev/pts/77", links / name);
    }
    const std::vector<std::string> ports = ListSerialPorts();
    EXPECT_TRUE(std::find(ports.begin(), ports.end(), "COM4") != ports.end());
    EXPECT_TRUE(std::find(ports.begin(), ports.end(), "COM12") != ports.end());
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end(), [](const auto& a, const auto& b) {
        return std::stoi(a.substr(3)) < std::stoi(b.substr(3));
    }));
}

TEST(SerialPortNameTest, SystemPortsAreTheUartsTheTtyClassShows) {
    const CTempDrive drive;
    const std::filesystem::path tty = drive.MakeFolder("tty");
    for (const auto& [name, type] : {std::pair{"ttyS0", "4"},
                                     {"ttyS1", "0"},
                                     {"ttyS12", "4"},
                                     {"ttyUSB0", "4"},
                                     {"ttySx", "4"},
                                     {"ttyS", "4"}}) {
        std::filesystem::create_directories(tty / name);
        std::ofstream(tty / name / "type") << type << "\n";
    }
    std::filesystem::create_directories(tty / "ttyS3");  // no type: no UART known
    std::vector<unsigned> numbers = SystemComPortNumbers(tty);
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<unsigned>{1, 13}));
    EXPECT_TRUE(SystemComPortNumbers(drive.Folder() / "missing").empty());
}

}  // namespace
}  // namespace hx
