// Receiving: taking whole messages from the inbox on the owner's thread, and
// routing each packet to its request client or to ParsePacket.
#include <algorithm>
#include <chrono>
#include <memory>

#include "channel/net_channel.h"
#include "channel/net_channel_container.h"
#include "channel/net_channel_log.h"
#include "channel/net_channel_message_box.h"
#include "channel/net_client.h"
#include "net/byte_order.h"
#include "net/io_base.h"
#include "net/lock_obj.h"
#include "net/net_log.h"
#include "platform/fixed_field.h"
#include "platform/message_loop.h"

namespace hx {

namespace {

constexpr int kMessagesPerReceive = 10;
constexpr size_t kBoxCaptionOffset = 36;
constexpr size_t kBoxCaptionSize = 128;
constexpr size_t kBoxTextOffset = 164;

// A field's text; the part of it beyond the packet is not there.
std::string TextAt(std::span<const uint8_t> packet, size_t offset, size_t size) {
    if (offset >= packet.size()) {
        return {};
    }
    return ReadTextField(packet.subspan(offset, std::min(size, packet.size() - offset)));
}

}  // namespace

int CNetChannel::ReceivePacket() {
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return -1;
    }
    if (m_inbox) {
        m_inbox->ClearPosted();
    }
    for (int i = 0; i < kMessagesPerReceive; ++i) {
        std::optional<std::vector<uint8_t>> message = TakeReceived();
        if (!message) {
            return ReceiveNothing();
        }
        DispatchReceived(message->data(), static_cast<int>(message->size()));
    }
    // More may wait: they come after whatever else the loop has to do.
    if (m_inbox) {
        m_inbox->Post();
    }
    return 1;
}

// Looked up each time: dispatching may have dropped the connection.
std::optional<std::vector<uint8_t>> CNetChannel::TakeReceived() {
    return m_inbox ? m_inbox->Take() : std::nullopt;
}

// The inbox is empty: a failed link is closed only now, so every message that
// came before the failure has been dispatched.
int CNetChannel::ReceiveNothing() {
    if (!m_connection) {
        return -1;
    }
    const int failure = LinkFailure();
    if (failure == 0) {
        return 0;
    }
    WriteChannelLog("connection to %s lost: %s (%d)", GetCurServerIP().c_str(),
                    IoResultText(failure), failure);
    ClosePacket(m_socket);
    return -1;
}

void CNetChannel::DispatchReceived(const uint8_t* message, int length) {
    if (message == nullptr || length < static_cast<int>(kPacketHeaderSize)) {
        WriteChannelLog("dropped a message of %d bytes: shorter than a packet header", length);
        return;
    }
    if (LoadLe32(message + HDR_COMMAND) != CMD_CONTAINER) {
        DispatchPacket(message, length);
        return;
    }
    const std::span<const uint8_t> container(message, static_cast<size_t>(length));
    const stContainerWalk walk = WalkContainer(container, [this](std::span<const uint8_t> packet) {
        DispatchPacket(packet.data(), static_cast<int>(packet.size()));
    });
    if (walk.dropped != 0) {
        WriteChannelLog("container of %d bytes: %zu bytes after packet %d dropped as malformed",
                        length, walk.dropped, walk.delivered);
    }
}

void CNetChannel::DispatchPacket(const uint8_t* packet, int length) {
    if (packet == nullptr || length < static_cast<int>(kPacketHeaderSize)) {
        return;
    }
    if (PreParsePacket(packet, length) != 0) {
        return;
    }
    const stHeader header = UnpackHeader({packet, kPacketHeaderSize});
    if (CNetClient* client = FindClient(header)) {
        client->DispatchMessageA(kClientPacketMessage, reinterpret_cast<WPARAM>(packet), length);
        return;
    }
    ParsePacket(packet, length);
}

CNetClient* CNetChannel::FindClient(const stHeader& header) {
    if (header.addresseeClientKey != m_clientKey ||
        (header.addresseeSequence == 0 && header.serviceKey == 0)) {
        return nullptr;
    }
    CLockObj lock(m_mutex);
    if (!lock.IsLocked()) {
        return nullptr;
    }
    // A sequenced packet is for that client alone: no fall back to the service key.
    const auto matches = [&header](const CNetClient* client) {
        return header.addresseeSequence != 0 ? client->GetSequence() == header.addresseeSequence
                                             : client->GetServiceKey() == header.serviceKey;
    };
    const auto found = std::find_if(m_clients.begin(), m_clients.end(), matches);
    return found != m_clients.end() ? *found : nullptr;
}

int CNetChannel::PreParsePacket(const uint8_t* data, int length) {
    if (data == nullptr || length < static_cast<int>(sizeof(uint32_t))) {
        return 0;
    }
    switch (LoadLe32(data + HDR_COMMAND)) {
        case CMD_NOP:
            return 1;
        case CMD_MESSAGE_BOX:
            ShowServerMessageBox({data, static_cast<size_t>(length)});
            return 1;
        default:
            return 0;
    }
}

void CNetChannel::ShowServerMessageBox(std::span<const uint8_t> packet) {
    // Caption and text are read only as far as the packet goes.
    ShowChannelMessageBox(TextAt(packet, kBoxCaptionOffset, kBoxCaptionSize),
                          TextAt(packet, kBoxTextOffset, packet.size()));
}

}  // namespace hx
