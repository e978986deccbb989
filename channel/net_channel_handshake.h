#pragma once
// The packets of the handshake that opens every connection: the request that
// identifies this machine (13), the server's answer (14, or 381 to refuse) and
// the confirmation (15). Texts are UTF-8 here and CP949 on the wire.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "net/packet_header.h"

namespace hx {

inline constexpr size_t kHandshakeRequestSize = 268;
inline constexpr size_t kHandshakeAnswerMinSize = 108;
inline constexpr size_t kHandshakeConfirmSize = 100;

// Byte offsets of the handshake packets' bodies.
enum enumHandshakeOffset : size_t {
    HSK_REQ_CHANNEL_TYPE = 36,
    HSK_REQ_COMPUTER_NAME = 40,   // 64 bytes
    HSK_REQ_LOCAL_ADDRESS = 104,  // 32 bytes
    HSK_REQ_FIRST_MAC = 168,      // 32 bytes
    HSK_REQ_SECOND_MAC = 200,     // 32 bytes
    HSK_REQ_FIRST_KIND = 264,
    HSK_ANS_CLIENT_KEY = 40,
    HSK_ANS_NAME = 44,      // 64 bytes
    HSK_CONFIRM_NAME = 36,  // 64 bytes
};
inline constexpr size_t kComputerNameField = 64;
inline constexpr size_t kAddressField = 32;
inline constexpr size_t kNameField = 64;

// Where a channel type keeps the terminal number and name the server gave it.
struct stChannelIdentityKeys {
    const char* section;
    const char* numberName;
    const char* nameName;
};
// 0 kiosk, 1 console, anything else a computer.
stChannelIdentityKeys ChannelIdentityKeys(int channelType);

// InitPacketHeader, then the channel's terminal number and client key.
bool InitChannelPacketHeader(std::span<uint8_t> packet, enumCommand command, uint32_t uniqueNo,
                             uint32_t clientKey);

struct stHandshakeRequest {
    uint32_t storedNo = 0;  // the terminal number of the last handshake, 0 when none
    int32_t channelType = 0;
    std::string computerName;
    std::string localAddress;
    std::string firstMac;
    std::string secondMac;  // all zeros on the wire when empty
    uint32_t firstKind = 0;
};
std::vector<uint8_t> BuildHandshakeRequest(const stHandshakeRequest& request);

enum enumHandshakeAnswer {
    HANDSHAKE_ACCEPTED,
    HANDSHAKE_REFUSED,  // 381: the server wants the address pool to start over
    HANDSHAKE_UNEXPECTED,
};
struct stHandshakeAnswer {
    uint32_t uniqueNo = 0;
    uint32_t clientKey = 0;
    std::string name;
};
// An answer 14 counts when its size field is at least 108 and within the
// message; answer is filled only then.
enumHandshakeAnswer ReadHandshakeAnswer(std::span<const uint8_t> message,
                                        stHandshakeAnswer& answer);
// The answer as the server sends it, 108 bytes.
std::vector<uint8_t> BuildHandshakeAnswer(const stHandshakeAnswer& answer);

// Carries the new terminal number and client key in its header.
std::vector<uint8_t> BuildHandshakeConfirm(uint32_t uniqueNo, uint32_t clientKey,
                                           const std::string& name);

}  // namespace hx
