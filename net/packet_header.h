#pragma once
// The 36-byte little-endian header at the start of every application packet.

#include <cstddef>
#include <cstdint>
#include <span>

namespace hx {

// Command numbers the transport and channel libraries send or act on; the
// kiosk's own commands are defined by the kiosk.
enum enumCommand : uint32_t {
    CMD_NOP = 1,
    CMD_CLIENT_OPEN = 2,
    CMD_CLIENT_CLOSE = 3,
    CMD_SERVICE_KEY = 7,
    CMD_HANDSHAKE = 13,
    CMD_HANDSHAKE_ANSWER = 14,
    CMD_HANDSHAKE_CONFIRM = 15,
    CMD_MESSAGE_BOX = 20,
    CMD_HANDSHAKE_REFUSED = 381,
    CMD_CONTAINER = 20000,
    CMD_RETURN_CODE = 20001,
    CMD_PING = 20002,
    CMD_FAILED_ALT = 0xFFFFFFFE,
    CMD_FAILED = 0xFFFFFFFF,
};

using packet_result = int32_t;

inline constexpr size_t kPacketHeaderSize = 36;
inline constexpr uint32_t kPacketMagic = 0x5678;

struct stHeader {
    uint32_t command = 0;
    uint32_t size = 0;  // the whole packet, header included
    uint32_t senderClientKey = 0;
    uint32_t senderSequence = 0;
    uint32_t addresseeClientKey = 0;
    uint32_t addresseeSequence = 0;
    uint32_t serviceKey = 0;
    uint32_t uniqueNo = 0;
    uint32_t magic = 0;
};

// Byte offsets of the fields, for code that patches a packet in place.
enum enumHeaderOffset : size_t {
    HDR_COMMAND = 0,
    HDR_SIZE = 4,
    HDR_SENDER_CLIENT_KEY = 8,
    HDR_SENDER_SEQUENCE = 12,
    HDR_ADDRESSEE_CLIENT_KEY = 16,
    HDR_ADDRESSEE_SEQUENCE = 20,
    HDR_SERVICE_KEY = 24,
    HDR_UNIQUE_NO = 28,
    HDR_MAGIC = 32,
};

// Both need at least kPacketHeaderSize bytes.
stHeader UnpackHeader(std::span<const uint8_t> packet);
void PackHeader(const stHeader& header, std::span<uint8_t> packet);

// Clears the whole packet (header and body) and writes command, size (the
// span's length) and magic. The result is accepted for the callers' sake and
// stored nowhere. False, touching nothing, when the span cannot hold a header.
bool InitPacketHeader(std::span<uint8_t> packet, enumCommand command, packet_result result = 0);

// Returns "?" for every command.
const char* GetCommandString(enumCommand command);

// Diagnostic hook of the library; accepts a text and ignores it.
void Log(const char* text);

}  // namespace hx
