#include "tools/frontdesk/packet_decoder.h"

#include <gtest/gtest.h>

#include "kiosk/records/header_only_requests.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/report_records.h"
#include "kiosk/records/sale_records.h"
#include "net/byte_order.h"
#include "net/packet_header.h"

namespace hx {

using Bytes = std::vector<uint8_t>;

namespace {

TEST(PacketDecoder, NamesTheFieldsOfAStepReport) {
    stStepReport report;
    report.code = 2;
    report.text = "현금";
    report.time = 1700000000;
    Bytes packet = Pack(report);
    StoreLe32(packet.data() + HDR_SENDER_SEQUENCE, 5);
    const stDecodedPacket decoded = DecodePacket(packet);
    ASSERT_FALSE(decoded.malformed) << decoded.reason;
    EXPECT_EQ(decoded.name, "step report");
    EXPECT_EQ(decoded.fields["code"], 2);
    EXPECT_EQ(decoded.fields["text"], "현금");
    EXPECT_EQ(decoded.fields["time"], 1700000000);
    EXPECT_EQ(decoded.header["senderSequence"], 5);
}

TEST(PacketDecoder, NamesTheFieldsOfASale) {
    stSaleRequest sale;
    sale.roomNo = 305;
    sale.stayType = STAY_SLEEP;
    sale.amount = sale.cardAmount = 60000;
    sale.approval.approvalNo = "30012345";
    const stDecodedPacket decoded = DecodePacket(Pack(sale));
    ASSERT_FALSE(decoded.malformed);
    EXPECT_EQ(decoded.fields["roomNo"], 305);
    EXPECT_EQ(decoded.fields["cardAmount"], 60000);
    EXPECT_EQ(decoded.fields["approval"]["approvalNo"], "30012345");
}

TEST(PacketDecoder, TellsWhyAPacketIsMalformed) {
    Bytes shortReport = Pack(stStepReport{});
    shortReport.resize(1000);
    StoreLe32(shortReport.data() + HDR_SIZE, 1000);
    Bytes badMagic = PackHeaderOnlyRequest(CMD_SALES_SUMMARY);
    StoreLe32(badMagic.data() + HDR_MAGIC, 0x1234);
    Bytes sizeMismatch = PackHeaderOnlyRequest(CMD_SALES_SUMMARY);
    sizeMismatch.resize(120);
    const struct {
        Bytes message;
        const char* reason;
    } kCases[] = {
        {Bytes(35, 0), "shorter than a packet header"},
        {badMagic, "magic"},
        {sizeMismatch, "size field 104 in a message of 120 bytes"},
        {shortReport, "step report of 1000 bytes, needs 1076"},
    };
    for (const auto& item : kCases) {
        const stDecodedPacket decoded = DecodePacket(item.message);
        EXPECT_TRUE(decoded.malformed) << item.reason;
        EXPECT_NE(decoded.reason.find(item.reason), std::string::npos) << decoded.reason;
    }
}

TEST(PacketDecoder, AnUnknownCommandIsNotMalformed) {
    Bytes packet(60);
    InitPacketHeader(packet, static_cast<enumCommand>(4242));
    const stDecodedPacket decoded = DecodePacket(packet);
    EXPECT_FALSE(decoded.malformed);
    EXPECT_EQ(decoded.name, "unknown");
    EXPECT_EQ(decoded.command, 4242u);
}

}  // namespace

}  // namespace hx
