#pragma once
// For tests only: a kiosk reduced to its wire, built from the transport's
// socket object on loopback. It speaks the handshake and sends and receives
// whole packets; every wait is bounded in real time, so a broken desk fails a
// test instead of hanging it.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "channel/net_channel_handshake.h"
#include "net/io_base.h"
#include "net/io_packet.h"
#include "net/message_header.h"
#include "net/packet_header.h"
#include "tests/support/wait_until.h"

namespace hx {

using Bytes = std::vector<uint8_t>;

class CTestKiosk {
public:
    CTestKiosk(const std::string& address, uint16_t port)
        : m_connection(std::make_unique<CIOPacket>(address.c_str(), port)) {
        m_connection->AddExtOption(IOEXT_NOPING);
    }

    bool Connect() { return m_connection->Connect(1) == IO_OK; }
    bool Send(const Bytes& packet) {
        return m_connection->Send(packet.data(), static_cast<int>(packet.size())) == IO_OK;
    }

    // The next message, or nothing when none came in time or the link ended.
    std::optional<Bytes> Receive() {
        if (!WaitUntil([this] { return m_connection->ReadReady() != 0; })) {
            return std::nullopt;
        }
        uint8_t* buffer = nullptr;
        int length = 0;
        const int result = m_connection->Receive(&buffer, &length);
        std::optional<Bytes> message;
        if (result == IO_OK) {
            message = Bytes(buffer, buffer + length);
        }
        FreeReceiveBuffer(buffer);
        return message;
    }

    // Messages up to and including the first with `command`; empty when it never came.
    std::vector<Bytes> ReceiveUntil(uint32_t command) {
        std::vector<Bytes> messages;
        while (std::optional<Bytes> message = Receive()) {
            messages.push_back(*message);
            if (UnpackHeader(*message).command == command) {
                return messages;
            }
        }
        return {};
    }

    // True once the desk has closed the connection.
    bool IsClosedByPeer() {
        return WaitUntil([this] { return m_connection->ReadReady() != 0 && !Receive(); });
    }

    // Connects, asks, and confirms an acceptance; the desk's answer either way.
    std::optional<Bytes> Handshake(const std::string& computerName, uint32_t storedNo = 0) {
        stHandshakeRequest request;
        request.computerName = computerName;
        request.storedNo = storedNo;
        request.localAddress = "127.0.0.1";
        request.firstMac = "00-E0-4C-68-01-01";
        if (!Connect() || !Send(BuildHandshakeRequest(request))) {
            return std::nullopt;
        }
        std::optional<Bytes> answer = Receive();
        stHandshakeAnswer accepted;
        if (answer && ReadHandshakeAnswer(*answer, accepted) == HANDSHAKE_ACCEPTED) {
            m_answer = accepted;
            Send(BuildHandshakeConfirm(accepted.uniqueNo, accepted.clientKey, accepted.name));
        }
        return answer;
    }
    const stHandshakeAnswer& Identity() const { return m_answer; }

    // The length the next message's header announces, its body left unread:
    // how a test looks at a message too big to take. -1 on failure.
    int64_t ReadAnnouncedLength() {
        uint8_t bytes[kMessageHeaderSize];
        stMessageHeader header;
        return ReceiveDecoded(bytes, sizeof bytes) && UnpackMessageHeader(bytes, header) == IO_OK
                   ? header.length
                   : -1;
    }

    // Takes `count` bytes of a body left unread, a piece at a time; false
    // unless all came and every one was zero.
    bool ReadZeros(int64_t count) {
        const Bytes zeros(1 << 16, 0);
        Bytes piece(zeros.size());
        while (count > 0) {
            const auto size = static_cast<size_t>(std::min<int64_t>(count, 1 << 16));
            if (!ReceiveDecoded(piece.data(), size) ||
                std::memcmp(piece.data(), zeros.data(), size) != 0) {
                return false;
            }
            count -= static_cast<int64_t>(size);
        }
        return true;
    }

    // A request as a request client of this kiosk sends it.
    Bytes FromClient(Bytes packet, uint32_t sequence) const {
        stHeader header = UnpackHeader(packet);
        header.senderClientKey = m_answer.clientKey;
        header.uniqueNo = m_answer.uniqueNo;
        header.senderSequence = sequence;
        header.serviceKey = 9;
        PackHeader(header, packet);
        return packet;
    }

private:
    // Decoded bytes of the blocks, with no regard for where messages begin.
    bool ReceiveDecoded(uint8_t* into, size_t length) {
        const uint32_t options = m_connection->GetOption();
        m_connection->SetOption(options & ~IOOPT_MESSAGE);
        const bool received = m_connection->Receive(into, static_cast<int>(length)) == IO_OK;
        m_connection->SetOption(options);
        return received;
    }

    std::unique_ptr<CIOPacket> m_connection;
    stHandshakeAnswer m_answer;
};

}  // namespace hx
