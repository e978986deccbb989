#include "platform/linux_network_adapters.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace fs = std::filesystem;

namespace {

// A sysfs-shaped tree: class/net/<name> with a "device" link into devices/.
class NetworkAdapterDescriptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_paths.classNet = Root() / "class/net";
        m_paths.virtualNet = Root() / "devices/virtual/net";
        m_paths.idsFolders = {Root() / "ids"};
    }

    const fs::path& Root() const { return m_drive.Folder(); }

    // A device folder with its bus and driver links, and the interface pointing at it.
    fs::path AddDevice(const std::string& name, const std::string& devicePath,
                       const std::string& bus, const std::string& driver) {
        const fs::path device = Root() / "devices" / devicePath;
        fs::create_directories(device);
        fs::create_symlink("../../../bus/" + bus, device / "subsystem");
        fs::create_symlink("../../../bus/" + bus + "/drivers/" + driver, device / "driver");
        fs::create_directories(m_paths.classNet / name);
        fs::create_directory_symlink(device, m_paths.classNet / name / "device");
        return device;
    }

    void AddPci(const std::string& name, const std::string& vendor, const std::string& product,
                const std::string& driver) {
        const fs::path device = AddDevice(name, "pci0000:00/" + name, "pci", driver);
        WriteWholeFile(device / "vendor", vendor + "\n");
        WriteWholeFile(device / "device", product + "\n");
    }

    std::string Describe(const std::string& name) {
        return DescribeNetworkInterface(m_paths, name);
    }

    CTempDrive m_drive;
    stNetworkSystemPaths m_paths;
};

TEST_F(NetworkAdapterDescriptionTest, PciCardsNameVendorBusKindAndDriver) {
    AddPci("enp3s0", "0x10ec", "0x8168", "r8169");
    AddPci("wlp2s0", "0x8086", "0x06f0", "iwlwifi");
    fs::create_directories(Root() / "phy0");
    fs::create_directory_symlink(Root() / "phy0", m_paths.classNet / "wlp2s0" / "phy80211");
    AddPci("enp5s0", "0xabcd", "0x0042", "xn");

    EXPECT_EQ(Describe("enp3s0"), "Realtek PCI Ethernet Adapter (r8169)");
    EXPECT_EQ(Describe("wlp2s0"), "Intel PCI Wireless Adapter (iwlwifi)");
    EXPECT_EQ(Describe("enp5s0"), "PCI Ethernet Adapter (xn)")
        << "unknown vendor, no name database";

    // The name databases add products, and vendors the built-in table lacks;
    // a product id listed only under another vendor is not taken.
    WriteWholeFile(Root() / "ids/pci.ids",
                   "# comment\n"
                   "10ec  Realtek Semiconductor Co., Ltd.\n"
                   "\t8139  RTL-8100/8101L/8139 PCI Fast Ethernet Adapter\n"
                   "\t8168  RTL8111/8168/8411 PCI Express Gigabit Ethernet Controller\n"
                   "\t\t1019 8168  subsystem line\n"
                   "abcd  Example Networks\n"
                   "\t0041  XN-41\n"
                   "abce  Next Vendor\n"
                   "\t0042  Not this one\n");
    EXPECT_EQ(Describe("enp3s0"),
              "Realtek PCI Ethernet Adapter (r8169): RTL8111/8168/8411 PCI Express Gigabit "
              "Ethernet Controller");
    EXPECT_EQ(Describe("enp5s0"), "Example Networks PCI Ethernet Adapter (xn)");
}

TEST_F(NetworkAdapterDescriptionTest, UsbAdaptersTakeTheirNamesFromTheUsbDevice) {
    const fs::path realtek = AddDevice("enx00e04c", "usb1/1-1/1-1:1.0", "usb", "r8152");
    WriteWholeFile(realtek / "../idVendor", "0bda\n");
    WriteWholeFile(realtek / "../idProduct", "8153\n");
    WriteWholeFile(realtek / "../product", "USB 10/100/1000 LAN\n");
    const fs::path dongle = AddDevice("wlx0013ef", "usb1/1-2/1-2:1.0", "usb", "mt7601u");
    WriteWholeFile(dongle / "../idVendor", "f00d\n");
    WriteWholeFile(dongle / "../manufacturer", "Acme\n");
    WriteWholeFile(m_paths.classNet / "wlx0013ef/uevent", "DEVTYPE=wlan\nINTERFACE=wlx0013ef\n");

    EXPECT_EQ(Describe("enx00e04c"), "Realtek USB Ethernet Adapter (r8152): USB 10/100/1000 LAN");
    EXPECT_EQ(Describe("wlx0013ef"), "Acme USB Wireless Adapter (mt7601u)");
}

TEST_F(NetworkAdapterDescriptionTest, InterfacesWithoutHardwareAreVirtual) {
    for (const char* name : {"docker0", "veth1"}) {
        fs::create_directories(m_paths.virtualNet / name);
        fs::create_directories(m_paths.classNet / name);
    }
    WriteWholeFile(m_paths.classNet / "docker0/uevent", "DEVTYPE=bridge\nINTERFACE=docker0\n");
    const fs::path virtio =
        AddDevice("eth0", "pci0000:00/0000:00:03.0/virtio2", "virtio", "virtio_net");
    WriteWholeFile(virtio / "vendor", "0x1af4\n");
    WriteWholeFile(virtio / "device", "0x0001\n");

    EXPECT_EQ(Describe("docker0"), "Virtual Ethernet Adapter (bridge)");
    EXPECT_EQ(Describe("veth1"), "Virtual Ethernet Adapter");
    EXPECT_EQ(Describe("eth0"), "Red Hat Ethernet Adapter (virtio_net)")
        << "paravirtual, not virtual";
}

TEST(NetworkAdapterTest, DefaultGatewayComesFromTheRouteTable) {
    const std::string table =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
        "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
        "wlan0\t0000000A\t0102A8C0\t0003\t0\t0\t0\t000000FF\t0\t0\t0\n"
        "eth1\t00000000\t0102A8C0\t0001\t0\t0\t0\t00000000\t0\t0\t0\n"
        "eth0\t00000000\tnonsense\t0003\n"
        "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
        "eth0\t00000000\t090200C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n";
    EXPECT_EQ(DefaultGatewayOf(table, "eth0"), "192.0.2.1");
    EXPECT_EQ(DefaultGatewayOf(table, "wlan0"), "") << "a gateway of another destination";
    EXPECT_EQ(DefaultGatewayOf(table, "eth1"), "") << "a default route without a gateway flag";
    EXPECT_EQ(DefaultGatewayOf(table, "eth"), "");
    EXPECT_EQ(DefaultGatewayOf("", "eth0"), "");
}

// Four numbers from 0 to 255 between dots, without leading zeros.
bool IsDottedQuad(const std::string& text) {
    static const std::string number = "(0|[1-9][0-9]{0,2})";
    static const std::regex quad(number + "\\." + number + "\\." + number + "\\." + number);
    std::smatch numbers;
    if (!std::regex_match(text, numbers, quad)) {
        return false;
    }
    for (size_t i = 1; i < numbers.size(); ++i) {
        if (std::stoi(numbers[i].str()) > 255) {
            return false;
        }
    }
    return true;
}

TEST(NetworkAdapterTest, ListsThisMachinesAdaptersConsistently) {
    std::set<std::string> names;
    for (const stNetworkAdapter& adapter : CLinuxNetworkAdapters().ListAdapters()) {
        SCOPED_TRACE(adapter.name);
        EXPECT_TRUE(names.insert(adapter.name).second) << "listed twice";
        EXPECT_TRUE(fs::exists(fs::path("/sys/class/net") / adapter.name));
        EXPECT_FALSE(adapter.description.empty());
        EXPECT_EQ(adapter.ipAddress.empty(), adapter.ipMask.empty());
        for (const std::string& address : {adapter.ipAddress, adapter.ipMask, adapter.gateway}) {
            EXPECT_TRUE(address.empty() || IsDottedQuad(address)) << address;
        }
        EXPECT_TRUE(!adapter.dhcp || !adapter.ipAddress.empty());
    }
    EXPECT_FALSE(names.contains("lo"));
}

}  // namespace

}  // namespace hx
