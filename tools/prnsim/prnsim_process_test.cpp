// prnsim as its own process on a real pseudo-terminal, written to through
// the links it made: as the kiosk's serial printer, with the serial port
// class the kiosk uses, and as its USB printer, found through the made-up
// sysfs tree.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/serial.h"
#include "tests/support/temp_folder.h"
#include "tools/prnsim/testing_prnsim.h"
#include "tools/prnsim/testing_receipts.h"

namespace hx {

namespace {

using namespace std::string_literals;

const std::string kReceipt = "\x1b@\x1b\x61\x01\x1d!\x11" + Cp949("영수증") +
                             "\n\x1d!\x00\x1b\x61\x00"s + Cp949("객실 305호") + "\n\x1dVA\x10";

void WriteAll(CSerial& port, const std::string& bytes) {
    DWORD count = 0;
    EXPECT_EQ(port.Write(bytes.data(), bytes.size(), &count), 0);
    EXPECT_EQ(count, bytes.size());
}

// The bytes that have come so far, without waiting.
std::vector<uint8_t> Pending(CSerial& port) {
    uint8_t buffer[16];
    DWORD count = 0;
    port.Read(buffer, sizeof buffer, &count);
    return {buffer, buffer + count};
}

// The first byte to come; nullopt when none came within the tests' patience.
std::optional<uint8_t> NextByte(CSerial& port) {
    std::vector<uint8_t> bytes;
    WaitUntil([&] {
        bytes = Pending(port);
        return !bytes.empty();
    });
    EXPECT_LE(bytes.size(), 1u) << "one answer byte per request";
    return bytes.empty() ? std::nullopt : std::optional<uint8_t>(bytes[0]);
}

TEST(PrnSimProcessTest, PrintsThroughItsSerialLinkAndAnswersAsItsStateSays) {
    CTempFolder folder("prnsim");
    const auto link = folder.Path() / "drive/dosdevices/com0";
    CPrnSimProcess prnsim(link, folder.Path(), {"--columns", "42"});
    ASSERT_TRUE(prnsim.WaitUntilLinked());

    CSerial port;
    ASSERT_EQ(port.Open(link.string()), 0);
    ASSERT_EQ(port.Setup(115200, 8, NOPARITY, ONESTOPBIT), 0);
    WriteAll(port, kReceipt);
    ASSERT_TRUE(prnsim.WaitForDocuments(1));
    const nlohmann::json document = prnsim.Documents()[0];
    EXPECT_EQ(document["width"], 504);
    EXPECT_EQ(document["height"], 54 + 30 + 16);
    EXPECT_EQ(document["lines"][0]["text"], "영수증");
    EXPECT_EQ(document["lines"][0]["align"], "centre");
    EXPECT_EQ(document["lines"][1]["runs"][0]["size"], "1x1");
    EXPECT_EQ(document["png"], (folder.Path() / "doc-0001.png").string());
    EXPECT_TRUE(std::filesystem::file_size(document["png"].get<std::string>()) > 0);
    EXPECT_EQ(ReadWholeFile(document["text"].get<std::string>()),
              "영수증\n객실 305호\n---- cut ----\n");

    EXPECT_EQ(prnsim.Command("state paper-out"), "ok state paper-out");
    WriteAll(port, "\x10\x04\x04");
    EXPECT_EQ(NextByte(port), 0x72);

    EXPECT_EQ(prnsim.Command("state silent"), "ok state silent");
    WriteAll(port, "\x10\x04\x01");
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<nlohmann::json> requests = prnsim.Events("status request");
        return requests.size() == 2 && requests[1]["answer"] == "silent";
    }));
    EXPECT_TRUE(Pending(port).empty()) << "an answer would have been written before the journal";
    EXPECT_EQ(prnsim.Command("state ready"), "ok state ready");
    WriteAll(port, "\x10\x04\x01");
    EXPECT_EQ(NextByte(port), 0x12);
    port.Close();

    EXPECT_EQ(prnsim.Command("status"),
              "ok state=ready documents=1 dropped=0 answered=2 unanswered=1");
    EXPECT_EQ(prnsim.Command("quit"), "ok quitting");
    EXPECT_EQ(prnsim.Stop(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link goes with the simulator";
}

TEST(PrnSimProcessTest, IsFoundAsAUsbPrinterBesideItsSerialLink) {
    CTempFolder folder("prnsim");
    const auto tree = folder.Path() / "usb";
    const auto link = folder.Path() / "drive/dosdevices/com0";
    CPrnSimProcess prnsim(link, folder.Path(),
                          {"--usb-tree", tree.string(), "--out", (folder.Path() / "out").string()});
    ASSERT_TRUE(prnsim.WaitUntilLinked());
    EXPECT_EQ(prnsim.Events("linked").size(), 2u);
    EXPECT_EQ(ReadWholeFile(tree / "sys/class/usbmisc/lp0/device/../idVendor"), "1504\n");

    CSerial node;
    ASSERT_EQ(node.Open((tree / "dev/usb/lp0").string()), 0);
    WriteAll(node, "\x10\x04\x02" + kReceipt);
    EXPECT_EQ(NextByte(node), 0x12);
    ASSERT_TRUE(prnsim.WaitForDocuments(1));
    EXPECT_EQ(prnsim.Documents()[0]["width"], 576);
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "out/doc-0001.txt"));
    node.Close();

    EXPECT_EQ(prnsim.Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(tree / "sys/class/usbmisc/lp0")) << "unplugged";
    EXPECT_FALSE(std::filesystem::is_symlink(tree / "dev/usb/lp0"));
}

}  // namespace

}  // namespace hx
