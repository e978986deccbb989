#include "channel/net_client.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <thread>
#include <vector>

#include "channel/net_channel.h"
#include "channel/net_channel_lock.h"
#include "channel/net_channel_message_box.h"
#include "channel/net_client_progress.h"
#include "net/byte_order.h"
#include "platform/fixed_field.h"
#include "platform/loop_clock.h"
#include "platform/message_loop.h"

namespace hx {

namespace {

constexpr uint64_t kProgressAfterMs = 5000;
constexpr size_t kServiceRequestSize = 232;
constexpr size_t kServiceOffset = 40;
constexpr size_t kFirstTextOffset = 104;
constexpr size_t kSecondTextOffset = 168;
constexpr size_t kServiceTextSize = 64;

constexpr const char* kTimeOutText =
    "서버로부터 제한시간 동안 응답을 받지 못했습니다.\n\n작업을 재시도 해주시기 바랍니다.";

bool IsFailureAnswer(uint32_t command) {
    return command == CMD_FAILED || command == CMD_FAILED_ALT;
}

// The progress window of one wait: opened once the wait has run long enough,
// kept up to date while open, destroyed when the wait ends.
class CWaitProgress {
public:
    CWaitProgress(std::atomic<HWND>& published, enumCommand command, uint32_t limitMs,
                  HWND centreOn)
        : m_published(published), m_command(command), m_limitMs(limitMs), m_centreOn(centreOn) {}
    ~CWaitProgress() { Close(); }
    CWaitProgress(const CWaitProgress&) = delete;
    CWaitProgress& operator=(const CWaitProgress&) = delete;

    // False once cancel was pressed.
    bool Step(uint64_t elapsedMs, bool showProgress) {
        if (!m_window) {
            if (showProgress && elapsedMs > kProgressAfterMs) {
                Open();
            }
            return true;
        }
        if (m_window->IsCancelled()) {
            return false;
        }
        m_window->SetPos(static_cast<uint32_t>(elapsedMs));
        char status[64];
        std::snprintf(status, sizeof status, "%.1f 초 경과", static_cast<double>(elapsedMs) / 1000);
        m_window->SetStatusText(status);
        m_window->ProcessMessages();
        return true;
    }

    void Close() {
        if (m_window) {
            m_published = 0;
            m_window->DestroyWindow();
            m_window.reset();
        }
    }

private:
    void Open() {
        char message[64];
        std::snprintf(message, sizeof message, "수신 대기중... %d", static_cast<int>(m_command));
        m_window = std::make_unique<CProgressWnd>(message, m_limitMs, m_centreOn);
        if (!m_window->Create()) {
            m_window.reset();
            return;
        }
        m_published = m_window->GetSafeHwnd();
    }

    std::atomic<HWND>& m_published;
    enumCommand m_command;
    uint32_t m_limitMs;
    HWND m_centreOn;
    std::unique_ptr<CProgressWnd> m_window;
};

}  // namespace

std::atomic<int> CNetClient::m_LimitSecond{30};
std::atomic<int> CNetClient::m_bShowProgress{0};
std::atomic<int> CNetClient::m_bTimeOutMsg{0};

CNetClient::CNetClient(CNetChannel* channel, SERVICEKEY serviceKey, CWnd* window)
    : m_access(channel != nullptr ? channel->ClientAccess() : nullptr),
      m_serviceKey(serviceKey),
      m_window(window),
      m_sequence(channel != nullptr && window == nullptr ? channel->GetNextSequenceNo() : 0),
      m_showRecvStatus(channel != nullptr && channel->GetShowRecvStatus()) {
    if (channel == nullptr) {
        return;
    }
    if (m_showRecvStatus) {
        m_status = channel->CreateRecvStatus(window);
    }
    channel->AddClient(this);
    uint8_t open[kPacketHeaderSize];
    InitClientHeader(open, CMD_CLIENT_OPEN);
    channel->SendPacket(open, sizeof open);
}

CNetClient::~CNetClient() {
    if (const CChannelAccess::CUse channel(m_access); channel) {
        // Unregistered first, so no packet can be handed to a client half gone.
        channel->DeleteClient(this);
        uint8_t close[kPacketHeaderSize];
        InitClientHeader(close, CMD_CLIENT_CLOSE);
        channel->SendPacket(close, sizeof close);
    }
    ClearAllData();
}

bool CNetClient::InitClientHeader(std::span<uint8_t> packet, enumCommand command) {
    const CChannelAccess::CUse channel(m_access);
    if (!channel || !channel->InitChannelHeader(packet, command)) {
        return false;
    }
    StoreLe32(&packet[HDR_SENDER_SEQUENCE], m_sequence);
    StoreLe32(&packet[HDR_SERVICE_KEY], m_serviceKey);
    return true;
}

int CNetClient::SendPacket(const void* data, int length) {
    const CChannelAccess::CUse channel(m_access);
    return channel && channel->SendPacket(data, length) == IO_OK ? 1 : 0;
}

void CNetClient::SetShowRecvStatus(bool show) {
    m_showRecvStatus = show;
    if (!show) {
        m_status.reset();
    }
}

LRESULT CNetClient::DispatchMessageA(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kClientPacketMessage) {
        return 0;
    }
    if (m_window != nullptr) {
        return SendMessage(m_window->GetSafeHwnd(), message, wParam, lParam);
    }
    AddData(std::make_unique<CQueueData>(reinterpret_cast<const uint8_t*>(wParam),
                                         static_cast<int>(lParam)));
    return 1;
}

void CNetClient::AddData(std::unique_ptr<CQueueData> data) {
    if (!data) {
        return;
    }
    const CPersistentLock lock(m_queueMutex);
    m_queue.push_back(std::move(data));
}

std::unique_ptr<CQueueData> CNetClient::GetData() {
    const CPersistentLock lock(m_queueMutex);
    if (m_queue.empty()) {
        return nullptr;
    }
    std::unique_ptr<CQueueData> oldest = std::move(m_queue.front());
    m_queue.pop_front();
    return oldest;
}

int CNetClient::IsEmpty() {
    const CPersistentLock lock(m_queueMutex);
    return m_queue.empty() ? 1 : 0;
}

void CNetClient::ClearAllData() {
    const CPersistentLock lock(m_queueMutex);
    m_queue.clear();
}

std::unique_ptr<CQueueData> CNetClient::_WaitPacket(enumCommand command, uint32_t* commandOut) {
    if (m_status) {
        m_status->AddCount(1);
    }
    if (commandOut != nullptr) {
        *commandOut = 0;
    }
    std::unique_ptr<CQueueData> packet = AwaitQueued(command);
    if (!packet || packet->GetLength() < static_cast<int>(kPacketHeaderSize)) {
        return nullptr;
    }
    if (commandOut != nullptr) {
        *commandOut = packet->GetCommand();
    }
    return IsFailureAnswer(packet->GetCommand()) ? nullptr : std::move(packet);
}

std::unique_ptr<CQueueData> CNetClient::AwaitQueued(enumCommand command) {
    const int limitSeconds = m_LimitSecond;
    const uint64_t limitMs = limitSeconds > 0 ? static_cast<uint64_t>(limitSeconds) * 1000 : 0;
    const uint64_t start = CLoopClock::Now();
    const uint64_t deadline = start + limitMs;
    const auto barRange = static_cast<uint32_t>(std::min<uint64_t>(limitMs, UINT32_MAX));
    CWaitProgress progress(m_progressHwnd, command, barRange,
                           m_window != nullptr ? m_window->GetSafeHwnd() : 0);
    while (CLoopClock::Now() < deadline) {
        if (m_keepWaiting != nullptr && !*m_keepWaiting) {
            return nullptr;
        }
        if (!progress.Step(CLoopClock::Now() - start, m_bShowProgress != 0)) {
            return nullptr;
        }
        if (std::unique_ptr<CQueueData> packet = GetData()) {
            return packet;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (m_access) {
            // A channel that is gone ends the wait as one that is not alive does.
            const CChannelAccess::CUse channel(m_access);
            if (!channel || channel->IsAlive() == 0) {
                return nullptr;
            }
            channel->ReceivePacket();
        }
    }
    progress.Close();
    if (m_bTimeOutMsg != 0) {
        ShowChannelMessageBox(std::string(kWaitTimeOutCaption), kTimeOutText);
    }
    return nullptr;
}

int CNetClient::WaitPacket(CQueueData& out, enumCommand command, int /*unused*/,
                           uint32_t* commandOut) {
    std::unique_ptr<CQueueData> packet = _WaitPacket(command, commandOut);
    if (!packet) {
        return 0;
    }
    packet->Move(out);
    return 1;
}

std::unique_ptr<CQueueData> CNetClient::_PeekPacket() {
    std::unique_ptr<CQueueData> packet = GetData();
    if (!packet) {
        if (const CChannelAccess::CUse channel(m_access); channel) {
            channel->ReceivePacket();
        }
        return nullptr;
    }
    if (packet->GetLength() < static_cast<int>(kPacketHeaderSize)) {
        return nullptr;
    }
    return packet;
}

int CNetClient::PeekPacket(CQueueData& out) {
    std::unique_ptr<CQueueData> packet = _PeekPacket();
    if (!packet) {
        return 0;
    }
    packet->Move(out);
    return 1;
}

SERVICEKEY CNetClient::ReqNewService(enumService service, const std::string& first,
                                     const std::string& second) {
    std::vector<uint8_t> request(kServiceRequestSize);
    if (!InitClientHeader(request, CMD_SERVICE_KEY)) {
        return 0;
    }
    StoreLe32(&request[kServiceOffset], service);
    WriteTextField(std::span(request).subspan(kFirstTextOffset, kServiceTextSize), first);
    WriteTextField(std::span(request).subspan(kSecondTextOffset, kServiceTextSize), second);
    if (SendPacket(request.data(), static_cast<int>(request.size())) != 1) {
        return 0;
    }
    CQueueData answer;
    if (WaitPacket(answer, CMD_SERVICE_KEY) != 1 ||
        answer.GetLength() < static_cast<int>(kServiceRequestSize) ||
        answer.GetCommand() != CMD_SERVICE_KEY) {
        return 0;
    }
    return LoadLe32(answer.GetData() + HDR_SERVICE_KEY);
}

int CNetClient::WaitReturnCode(stReturnCode* record) {
    if (record != nullptr) {
        *record = stReturnCode{};
    }
    CQueueData answer;
    if (WaitPacket(answer, CMD_RETURN_CODE) != 1 ||
        answer.GetLength() < static_cast<int>(stReturnCode::kSize)) {
        return kNoReturnCode;
    }
    const std::span<const uint8_t> bytes(answer.GetData(), static_cast<size_t>(answer.GetLength()));
    if (record != nullptr) {
        UnpackReturnCode(bytes, *record);
    }
    if (answer.GetCommand() != CMD_RETURN_CODE) {
        return kNoReturnCode;
    }
    return static_cast<int32_t>(LoadLe32(&bytes[stReturnCode::kCodeOffset]));
}

}  // namespace hx
