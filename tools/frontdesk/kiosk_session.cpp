#include "tools/frontdesk/kiosk_session.h"

#include <algorithm>
#include <chrono>
#include <random>

#include "channel/net_channel_handshake.h"
#include "net/io_base.h"
#include "net/net_log.h"
#include "net/socket_wait.h"
#include "platform/loop_clock.h"
#include "tools/frontdesk/handshake_request.h"
#include "tools/frontdesk/packet_addressing.h"
#include "tools/frontdesk/packet_decoder.h"
#include "tools/frontdesk/server_packets.h"
#include "tools/frontdesk/zero_message.h"

namespace hx {

namespace {

using json = nlohmann::json;

// The longest a waiting session goes without looking at the idle time-out;
// everything else it waits for wakes it at once.
constexpr uint64_t kIdleCheckMs = 250;
constexpr size_t kBrokenFramingBytes = 64;
constexpr size_t kJournalHeadBytes = 64;

Bytes RandomBytes(size_t count) {
    std::random_device seed;
    std::mt19937 generator(seed());
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes bytes(count);
    for (uint8_t& value : bytes) {
        value = static_cast<uint8_t>(byte(generator));
    }
    return bytes;
}

// The first bytes of something malformed, for whoever reads the journal.
std::string HeadAsHex(std::span<const uint8_t> bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < bytes.size() && i < kJournalHeadBytes; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

// Why a packet does not belong where it came, or empty when it does.
std::string MisplacedReason(enumSessionState state, uint32_t command) {
    const bool handshake = command == CMD_HANDSHAKE || command == CMD_HANDSHAKE_CONFIRM;
    if (state == enumSessionState::AwaitingHandshake && command != CMD_HANDSHAKE) {
        return "a handshake request was expected";
    }
    if (state == enumSessionState::AwaitingConfirmation && command != CMD_HANDSHAKE_CONFIRM) {
        return "the handshake confirmation was expected";
    }
    if (state == enumSessionState::Serving && handshake) {
        return "a handshake packet after the handshake";
    }
    return "";
}

}  // namespace

const char* SessionStateName(enumSessionState state) {
    switch (state) {
        case enumSessionState::AwaitingHandshake:
            return "awaiting handshake";
        case enumSessionState::AwaitingConfirmation:
            return "awaiting confirmation";
        case enumSessionState::Serving:
            return "serving";
        case enumSessionState::Closed:
            return "closed";
    }
    return "?";
}

CKioskSession::CKioskSession(uint32_t id, std::unique_ptr<CIOPacket> connection, CSessionHost& host,
                             std::chrono::milliseconds idleTimeout)
    : m_connection(std::move(connection)),
      m_socket(m_connection->GetSocket()),
      m_host(host),
      m_idleTimeout(idleTimeout),
      m_lastInputMs(CLoopClock::Now()) {
    m_info.id = id;
    char peer[64] = {};
    if (m_connection->GetPeerName(peer, sizeof peer) == 1) {
        m_info.peer = peer;
    }
}

CKioskSession::~CKioskSession() {
    Stop();
}

void CKioskSession::Start() {
    Write({{"event", "connected"}});
    m_thread = std::thread([this] { Run(); });
}

void CKioskSession::RequestStop() {
    m_stopping = true;
    m_waiter.Wake();
    // A send to a kiosk that stopped reading, or half a message from one,
    // would otherwise hold the thread for as long as the kiosk likes.
    ShutdownSocket(m_socket);
}

void CKioskSession::Stop() {
    RequestStop();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CKioskSession::Enqueue(enumOutgoing kind, std::vector<Bytes> packets, int32_t zeroLength) {
    {
        std::lock_guard lock(m_mutex);
        for (Bytes& packet : packets) {
            m_outbox.push_back({kind, std::move(packet), zeroLength});
        }
    }
    m_waiter.Wake();
}

void CKioskSession::Push(std::vector<Bytes> packets) {
    Enqueue(enumOutgoing::Push, std::move(packets));
}

void CKioskSession::PushBrokenFraming() {
    Enqueue(enumOutgoing::BrokenFraming, {RandomBytes(kBrokenFramingBytes)});
}

void CKioskSession::PushZeroMessage(int32_t length) {
    Enqueue(enumOutgoing::ZeroMessage, {Bytes()}, length);
}

void CKioskSession::Drop() {
    m_dropRequested = true;
    m_waiter.Wake();
}

stSessionInfo CKioskSession::Info() const {
    std::lock_guard lock(m_mutex);
    return m_info;
}

void CKioskSession::SetState(enumSessionState state) {
    std::lock_guard lock(m_mutex);
    m_info.state = state;
}

void CKioskSession::Write(json entry) {
    const stSessionInfo info = Info();
    entry["session"] = info.id;
    entry["peer"] = info.peer;
    if (info.clientKey != 0) {
        entry["terminalNo"] = info.terminalNo;
        entry["clientKey"] = info.clientKey;
    }
    m_host.Journal().Write(std::move(entry));
}

void CKioskSession::Run() {
    while (ServeOnce()) {
    }
    // The kiosk sees the end now; the descriptor goes with this object.
    ShutdownSocket(m_socket);
    m_host.OnClosed(Info());
    // Last: once finished, the desk may join and delete this session.
    m_finished = true;
}

bool CKioskSession::Ended(const std::string& reason) {
    SetState(enumSessionState::Closed);
    // Once the desk is stopping, a failure is the stop's doing, whatever it looks like.
    Write({{"event", "closed"}, {"reason", m_stopping ? "the desk stopped" : reason}});
    return false;
}

bool CKioskSession::ServeOnce() {
    if (m_stopping) {
        return Ended("the desk stopped");
    }
    if (!FlushOutbox()) {
        return false;
    }
    if (m_dropRequested) {
        return Ended("dropped by a control command");
    }
    const int ready = m_connection->ReadReady();
    if (ready < 0) {
        return Ended("the connection failed");
    }
    if (ready == 0) {
        return WaitForInput();
    }
    Bytes message;
    if (!ReceiveMessage(message)) {
        return false;
    }
    m_lastInputMs = CLoopClock::Now();
    return HandleMessage(message);
}

bool CKioskSession::WaitForInput() {
    const uint64_t idleMs = CLoopClock::Now() - m_lastInputMs;
    const auto timeoutMs = static_cast<uint64_t>(m_idleTimeout.count());
    if (idleMs >= timeoutMs) {
        return Ended("idle time-out");
    }
    m_waiter.Wait(m_socket, static_cast<int>(std::min(kIdleCheckMs, timeoutMs - idleMs)));
    return true;
}

bool CKioskSession::FlushOutbox() {
    while (true) {
        stOutgoing outgoing;
        {
            std::lock_guard lock(m_mutex);
            if (m_outbox.empty()) {
                return true;
            }
            outgoing = std::move(m_outbox.front());
            m_outbox.pop_front();
        }
        if (!Send(outgoing)) {
            return false;
        }
    }
}

int CKioskSession::SendBrokenFraming(const Bytes& bytes) {
    // Without message mode the bytes go out as a block of their own, where
    // the kiosk expects a message header.
    const uint32_t options = m_connection->GetOption();
    m_connection->SetOption(0);
    const int result = m_connection->Send(bytes.data(), static_cast<int>(bytes.size()));
    m_connection->SetOption(options);
    Write({{"event", "sent"}, {"what", "broken framing"}, {"size", bytes.size()}});
    return result;
}

int CKioskSession::SendPacket(Bytes bytes, bool addressToKiosk) {
    if (addressToKiosk) {
        AddressUnsolicited(Info().clientKey, bytes);
    }
    const int result = m_connection->Send(bytes.data(), static_cast<int>(bytes.size()));
    const stHeader header = UnpackHeader(bytes);
    Write({{"event", "sent"},
           {"command", header.command},
           {"size", bytes.size()},
           {"addresseeSequence", header.addresseeSequence},
           {"serviceKey", header.serviceKey}});
    return result;
}

// Takes as long as the kiosk takes to read it: journalled at the start too.
int CKioskSession::SendZeroMessage(int32_t length) {
    Write({{"event", "sending"}, {"what", "zeros"}, {"announced", length}});
    const int result = hx::SendZeroMessage(*m_connection, length);
    if (result == IO_OK) {
        Write({{"event", "sent"}, {"what", "zeros"}, {"announced", length}});
    }
    return result;
}

bool CKioskSession::Send(const stOutgoing& outgoing) {
    int result = IO_OK;
    switch (outgoing.kind) {
        case enumOutgoing::BrokenFraming:
            result = SendBrokenFraming(outgoing.bytes);
            break;
        case enumOutgoing::ZeroMessage:
            result = SendZeroMessage(outgoing.zeroLength);
            break;
        case enumOutgoing::Answer:
        case enumOutgoing::Push:
            result = SendPacket(outgoing.bytes, outgoing.kind == enumOutgoing::Push);
            break;
    }
    return result == IO_OK || Ended(std::string("send failed: ") + IoResultText(result));
}

bool CKioskSession::ReceiveMessage(Bytes& message) {
    const uint32_t blocksBefore = m_connection->GetRxPerf(PERF_BLOCKS);
    uint8_t* buffer = nullptr;
    int length = 0;
    const int result = m_connection->Receive(&buffer, &length);
    if (result == IO_OK) {
        message.assign(buffer, buffer + length);
    }
    FreeReceiveBuffer(buffer);
    if (result == IO_OK) {
        return true;
    }
    if (result == IO_CLOSED) {
        // Whole blocks of the message had come: the kiosk left in the middle of it.
        const bool midMessage = m_connection->GetRxPerf(PERF_BLOCKS) != blocksBefore;
        return Ended(midMessage ? "closed by the kiosk in the middle of a message"
                                : "closed by the kiosk");
    }
    Write({{"event", "malformed"},
           {"reason", std::string("framing: ") + IoResultText(result)},
           {"code", result}});
    return Ended("malformed framing");
}

bool CKioskSession::HandleMessage(std::span<const uint8_t> message) {
    const stDecodedPacket decoded = DecodePacket(message);
    const std::string misplaced = MisplacedReason(Info().state, decoded.command);
    if (decoded.malformed || !misplaced.empty()) {
        Write({{"event", "malformed"},
               {"reason", decoded.malformed ? decoded.reason : misplaced},
               {"command", decoded.command},
               {"length", message.size()},
               {"head", HeadAsHex(message)}});
        return Ended("malformed packet");
    }
    // Decided before the line is written, so the journal tells what was done.
    const bool silent = m_host.IsSilent();
    json received = {{"event", "received"},
                     {"command", decoded.command},
                     {"name", decoded.name},
                     {"header", decoded.header},
                     {"fields", decoded.fields}};
    if (silent) {
        received["unanswered"] = true;
    }
    Write(std::move(received));
    if (silent) {
        return true;
    }
    switch (decoded.command) {
        case CMD_HANDSHAKE:
            return HandleHandshake(message);
        case CMD_HANDSHAKE_CONFIRM:
            return HandleConfirmation();
        default:
            HandleRequest(message);
            return true;
    }
}

bool CKioskSession::HandleHandshake(std::span<const uint8_t> message) {
    stHandshakeRequest request;
    ReadHandshakeRequest(message, request);
    const stHandshakeDecision decision = m_host.OnHandshake(request);
    if (decision.refused) {
        Enqueue(enumOutgoing::Answer, {BuildHandshakeRefusal()});
        FlushOutbox();
        return Ended("handshake refused");
    }
    {
        std::lock_guard lock(m_mutex);
        m_info.terminalNo = decision.terminalNo;
        m_info.clientKey = decision.clientKey;
        m_info.name = decision.name;
        m_info.computerName = request.computerName;
        m_info.state = enumSessionState::AwaitingConfirmation;
    }
    Enqueue(enumOutgoing::Answer,
            {BuildHandshakeAnswer({decision.terminalNo, decision.clientKey, decision.name})});
    return true;
}

bool CKioskSession::HandleConfirmation() {
    SetState(enumSessionState::Serving);
    Push(m_host.OnServing());
    return true;
}

void CKioskSession::HandleRequest(std::span<const uint8_t> message) {
    const stSessionInfo info = Info();
    stReplies replies = m_host.OnRequest({info.terminalNo, info.clientKey}, message);
    if (!replies.note.empty()) {
        Write({{"event", "note"}, {"text", replies.note}});
    }
    Enqueue(enumOutgoing::Answer, std::move(replies.answers));
    Push(std::move(replies.pushes));
    if (!replies.broadcasts.empty()) {
        m_host.Broadcast(replies.broadcasts);
    }
}

}  // namespace hx
