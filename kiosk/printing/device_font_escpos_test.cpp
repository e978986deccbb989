#include "kiosk/printing/device_font_escpos.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes left, const Bytes& right) {
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

Bytes Text(const std::string& text) {
    return {text.begin(), text.end()};
}

const Bytes kInit{0x1B, '@'};
const Bytes kCentre{0x1B, 'a', 1};
const Bytes kLeft{0x1B, 'a', 0};
const Bytes kCut{0x1D, 'V', 1};
Bytes Feed(uint8_t dots) {
    return {0x1B, 'J', dots};
}
Bytes Size(uint8_t size) {
    return {0x1D, '!', size};
}

TEST(DeviceFontEscPos, LinesArePlacedByTheHeightOfTheFaceAbove) {
    stDeviceDocument ticket{"Print Shopcard",
                            true,
                            {{0, enumDeviceFace::FontControl, "x"},
                             {1, enumDeviceFace::Korean2x2, "201"},
                             {1, enumDeviceFace::FontControl, "w"},
                             {4, enumDeviceFace::Korean1x1, "A"},
                             {6, enumDeviceFace::FontControl, "6"}}};
    // The room name goes one default line below the first line, "w" one
    // 2x2 line below the room name, "A" four control lines below "w".
    EXPECT_EQ(EncodeDeviceDocument(ticket), kInit + kCentre + Feed(24) + Size(0x11) + Text("201") +
                                                Feed(48) + kLeft + Feed(96) + Size(0x00) +
                                                Text("A") + Feed(144) + kCut);

    ticket.secondLineByDefaultFont = false;
    ticket.lines[0].face = enumDeviceFace::Korean1x2;
    ticket.lines[0].text = "T";
    ticket.lines[1].step = 6;  // 6 x 48 = 288 dots: more than one feed command holds
    const Bytes start = kInit + Size(0x01) + Text("T") + Feed(255) + Feed(33) + Size(0x11);
    const Bytes encoded = EncodeDeviceDocument(ticket);
    EXPECT_TRUE(std::equal(start.begin(), start.end(), encoded.begin()));

    EXPECT_EQ(EncodeDeviceDocument({"", false, {{0, enumDeviceFace::Korean4x2, "B"}}}),
              kInit + Size(0x31) + Text("B") + Feed(48))
        << "a last text line is printed out";
}

}  // namespace

}  // namespace hx
