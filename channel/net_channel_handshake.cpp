#include "channel/net_channel_handshake.h"

#include "net/byte_order.h"
#include "platform/fixed_field.h"

namespace hx {

namespace {

std::span<uint8_t> Field(std::vector<uint8_t>& packet, size_t offset, size_t size) {
    return std::span(packet).subspan(offset, size);
}

}  // namespace

stChannelIdentityKeys ChannelIdentityKeys(int channelType) {
    switch (channelType) {
        case 0:
            return {"KIOSK", "KioskNo", "KioskName"};
        case 1:
            return {"Console", "ConsoleNo", "ConsoleName"};
        default:
            return {"Computer", "ComputerNo", "ComputerName"};
    }
}

bool InitChannelPacketHeader(std::span<uint8_t> packet, enumCommand command, uint32_t uniqueNo,
                             uint32_t clientKey) {
    if (!InitPacketHeader(packet, command)) {
        return false;
    }
    StoreLe32(&packet[HDR_UNIQUE_NO], uniqueNo);
    StoreLe32(&packet[HDR_SENDER_CLIENT_KEY], clientKey);
    return true;
}

std::vector<uint8_t> BuildHandshakeRequest(const stHandshakeRequest& request) {
    std::vector<uint8_t> packet(kHandshakeRequestSize);
    InitChannelPacketHeader(packet, CMD_HANDSHAKE, request.storedNo, 0);
    StoreLe32(&packet[HSK_REQ_CHANNEL_TYPE], static_cast<uint32_t>(request.channelType));
    WriteTextField(Field(packet, HSK_REQ_COMPUTER_NAME, kComputerNameField), request.computerName);
    WriteTextField(Field(packet, HSK_REQ_LOCAL_ADDRESS, kAddressField), request.localAddress);
    WriteTextField(Field(packet, HSK_REQ_FIRST_MAC, kAddressField), request.firstMac);
    WriteTextField(Field(packet, HSK_REQ_SECOND_MAC, kAddressField), request.secondMac);
    StoreLe32(&packet[HSK_REQ_FIRST_KIND], request.firstKind);
    return packet;
}

enumHandshakeAnswer ReadHandshakeAnswer(std::span<const uint8_t> message,
                                        stHandshakeAnswer& answer) {
    // Something shorter than a header is no answer at all.
    if (message.size() < kPacketHeaderSize) {
        return HANDSHAKE_UNEXPECTED;
    }
    const stHeader header = UnpackHeader(message);
    if (header.command == CMD_HANDSHAKE_REFUSED) {
        return HANDSHAKE_REFUSED;
    }
    if (header.command != CMD_HANDSHAKE_ANSWER || header.size < kHandshakeAnswerMinSize ||
        header.size > message.size()) {
        return HANDSHAKE_UNEXPECTED;
    }
    answer.uniqueNo = header.uniqueNo;
    answer.clientKey = LoadLe32(&message[HSK_ANS_CLIENT_KEY]);
    answer.name = ReadTextField(message.subspan(HSK_ANS_NAME, kNameField));
    return HANDSHAKE_ACCEPTED;
}

std::vector<uint8_t> BuildHandshakeAnswer(const stHandshakeAnswer& answer) {
    std::vector<uint8_t> packet(kHandshakeAnswerMinSize);
    InitChannelPacketHeader(packet, CMD_HANDSHAKE_ANSWER, answer.uniqueNo, 0);
    StoreLe32(&packet[HSK_ANS_CLIENT_KEY], answer.clientKey);
    WriteTextField(Field(packet, HSK_ANS_NAME, kNameField), answer.name);
    return packet;
}

std::vector<uint8_t> BuildHandshakeConfirm(uint32_t uniqueNo, uint32_t clientKey,
                                           const std::string& name) {
    std::vector<uint8_t> packet(kHandshakeConfirmSize);
    InitChannelPacketHeader(packet, CMD_HANDSHAKE_CONFIRM, uniqueNo, clientKey);
    WriteTextField(Field(packet, HSK_CONFIRM_NAME, kNameField), name);
    return packet;
}

}  // namespace hx
