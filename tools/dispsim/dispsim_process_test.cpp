// dispsim as its own process on a real pseudo-terminal, opened through the
// link the simulator made with the serial port class the kiosk uses.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/serial.h"
#include "tests/support/temp_folder.h"
#include "tools/dispsim/testing_dispsim.h"
#include "tools/dispsim/testing_kiosk_frames.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

// Writes a frame and collects the answer until `length` bytes have come.
Bytes Exchange(CSerial& port, const Bytes& frame, size_t length) {
    EXPECT_EQ(port.Write(frame.data(), frame.size()), 0);
    Bytes answer;
    WaitUntil([&] {
        uint8_t buffer[64];
        DWORD count = 0;
        port.Read(buffer, sizeof buffer, &count);
        answer.insert(answer.end(), buffer, buffer + count);
        return answer.size() >= length;
    });
    return answer;
}

TEST(DispSimProcessTest, IssuesACardThroughItsLinkAndJournalsWhatItOpens) {
    CTempFolder folder("dispsim");
    const auto link = folder.Path() / "com4";
    CDispSimProcess dispsim(link, folder.Path(), {"--cards", "3"});
    ASSERT_TRUE(dispsim.WaitUntilLinked());

    CSerial port;
    ASSERT_EQ(port.Open(link.string()), 0);
    ASSERT_EQ(port.Setup(9600, 8, NOPARITY, ONESTOPBIT), 0);
    EXPECT_EQ(Exchange(port, KioskFrame(0x30), 5), (Bytes{0x02, 0x22, 0x30, 0x30, 0x22}));
    // Door-lock number 305 in hotel 7/2021, valid until 2024-03-05 10:13; the
    // last byte of each block carries the XOR of the others, as the kiosk sends
    // it. The hour and minute, 0x0A and 0x0D, must cross the line untouched.
    const Bytes block1{0x00, 0x01, 0x07, 0x07, 0xE5, 0x00, 0x01, 0x31, 0x00,
                       0x55, 0x30, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xB0};
    const Bytes block2{0x00, 0x02, 0x10, 0x01, 0x01, 0x00, 0x00, 0x18, 0x03,
                       0x05, 0x0A, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09};
    EXPECT_EQ(Exchange(port, KioskFrame(0x36, block1), 5), (Bytes{0x02, 0x22, 0x36, 0x30, 0x24}));
    EXPECT_EQ(Exchange(port, KioskFrame(0x36, block2), 5), (Bytes{0x02, 0x22, 0x36, 0x30, 0x24}));
    const Bytes read = Exchange(port, KioskFrame(0x37, {0x00, 0x02}), 21);
    EXPECT_EQ(Bytes(read.begin() + 4, read.end() - 1), Bytes(block2.begin() + 2, block2.end()));
    EXPECT_EQ(Exchange(port, KioskFrame(0x39), 5), (Bytes{0x02, 0x22, 0x39, 0x30, 0x2B}));
    port.Close();

    EXPECT_EQ(dispsim.Command("status"),
              "ok cards=2 mouth=empty faults=none status-code=auto issued=1 captured=0");
    const std::vector<nlohmann::json> cards = dispsim.IssuedCards();
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0]["card"]["doorLock"], 305);
    EXPECT_EQ(cards[0]["card"]["hotelSequence"], 2021);
    EXPECT_EQ(cards[0]["card"]["end"], "2024-03-05 10:13");
    EXPECT_EQ(cards[0]["card"]["checksOk"], true);

    // A harness that says quit and at once sends SIGTERM still gets a clean end.
    EXPECT_EQ(dispsim.Command("quit"), "ok quitting");
    EXPECT_EQ(dispsim.Stop(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link goes with the simulator";
}

}  // namespace

}  // namespace hx
