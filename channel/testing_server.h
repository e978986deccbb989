#pragma once
// For tests only: the front-desk server's end of a channel, built from the
// transport's own socket object on a loopback address, and the packets such a
// server sends. Every wait is bounded in real time, so a broken channel fails
// a test instead of hanging it.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "channel/net_channel_handshake.h"
#include "net/byte_order.h"
#include "net/io_base.h"
#include "net/io_packet.h"
#include "net/packet_header.h"
#include "tests/support/wait_until.h"

namespace hx {

using Bytes = std::vector<uint8_t>;

inline constexpr int kServerWaitMs = 10000;

// A packet as the server addresses it; the body is zeros.
inline Bytes ServerPacket(uint32_t command, size_t size, uint32_t clientKey = 0,
                          uint32_t sequence = 0, uint32_t serviceKey = 0) {
    Bytes packet(size);
    stHeader header;
    header.command = command;
    header.size = static_cast<uint32_t>(size);
    header.addresseeClientKey = clientKey;
    header.addresseeSequence = sequence;
    header.serviceKey = serviceKey;
    header.magic = kPacketMagic;
    PackHeader(header, packet);
    return packet;
}

// Command 20000 holding the packets back to back.
inline Bytes ContainerPacket(const std::vector<Bytes>& packets) {
    size_t size = kPacketHeaderSize;
    for (const Bytes& packet : packets) {
        size += packet.size();
    }
    Bytes container = ServerPacket(CMD_CONTAINER, kPacketHeaderSize);
    StoreLe32(&container[HDR_SIZE], static_cast<uint32_t>(size));
    for (const Bytes& packet : packets) {
        container.insert(container.end(), packet.begin(), packet.end());
    }
    return container;
}

inline uint32_t Field32(const Bytes& packet, size_t offset) {
    return offset + 4 <= packet.size() ? LoadLe32(&packet[offset]) : 0xDEADBEEF;
}

// The text of a fixed field as it is on the wire.
inline std::string WireText(const Bytes& packet, size_t offset, size_t size) {
    std::string text;
    for (size_t i = offset; i < offset + size && i < packet.size() && packet[i] != 0; ++i) {
        text += static_cast<char>(packet[i]);
    }
    return text;
}

class CTestingServer {
public:
    // Port 0 takes a free one.
    explicit CTestingServer(const std::string& address = "127.0.0.1", uint16_t port = 0)
        : m_address(address), m_listener(std::make_unique<CIOPacket>(address.c_str(), port)) {
        EXPECT_EQ(m_listener->Listen(address.c_str()), 1) << "cannot listen on " << address;
    }

    const std::string& Address() const { return m_address; }
    uint16_t Port() const { return static_cast<uint16_t>(m_listener->GetLocalPort()); }

    // The next connection becomes the one this server talks on.
    bool Accept() {
        return WaitUntil([this] {
            std::unique_ptr<CIOPacket> accepted = m_listener->Accept();
            if (!accepted) {
                return false;
            }
            m_connection = std::move(accepted);
            ++m_accepted;
            return true;
        });
    }
    int AcceptedCount() const { return m_accepted; }

    // The next message; nothing when the connection failed or was closed.
    std::optional<Bytes> Receive() {
        if (!m_connection) {
            return std::nullopt;
        }
        uint8_t* buffer = nullptr;
        int length = 0;
        if (m_connection->Receive(&buffer, &length) != IO_OK) {
            FreeReceiveBuffer(buffer);
            return std::nullopt;
        }
        Bytes message(buffer, buffer + length);
        FreeReceiveBuffer(buffer);
        return message;
    }

    bool Send(const Bytes& message) {
        return m_connection &&
               m_connection->Send(message.data(), static_cast<int>(message.size())) == IO_OK;
    }

    void Drop() { m_connection.reset(); }

    struct stHandshake {
        Bytes request;
        Bytes confirm;
    };
    // Accepts, takes the request, answers with `answer` and takes the confirmation.
    std::optional<stHandshake> Handshake(const Bytes& answer) {
        stHandshake handshake;
        if (!Accept()) {
            return std::nullopt;
        }
        std::optional<Bytes> request = Receive();
        if (!request || !Send(answer)) {
            return std::nullopt;
        }
        handshake.request = *request;
        std::optional<Bytes> confirm = Receive();
        if (!confirm) {
            return std::nullopt;
        }
        handshake.confirm = *confirm;
        return handshake;
    }
    std::optional<stHandshake> Handshake(uint32_t uniqueNo, uint32_t clientKey,
                                         const std::string& name = "KIOSK-A") {
        return Handshake(BuildHandshakeAnswer({uniqueNo, clientKey, name}));
    }

private:
    std::string m_address;
    std::unique_ptr<CIOPacket> m_listener;
    std::unique_ptr<CIOPacket> m_connection;
    int m_accepted = 0;
};

}  // namespace hx
