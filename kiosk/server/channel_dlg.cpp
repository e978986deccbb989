#include "kiosk/server/channel_dlg.h"

#include <string>
#include <utility>

#include "kiosk/records/record_layout.h"
#include "kiosk/server/link_failure_text.h"
#include "kiosk/server/server_message_dispatcher.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "platform/envr.h"
#include "platform/message_loop.h"
#include "platform/registered_messages.h"

namespace hx {

namespace {

std::atomic<int> g_lastChannelState{CHANNEL_CLOSED};

}  // namespace

int GetLastChannelState() {
    return g_lastChannelState.load();
}

CChannelDlg::CChannelDlg(uint16_t basePort, LogSink log)
    : CNetChannel(nullptr, basePort),
      m_log(std::move(log)),
      m_heldMessage(RegisterWindowMessage("HxKiosk_ChannelHeldMessages")),
      m_linkMessage(RegisterWindowMessage("HxKiosk_ChannelLinkEvent")) {
    // The library's timers and data messages come to this window.
    SetOwner(this);
}

CChannelDlg::~CChannelDlg() {
    // First: a request client waiting on another thread may be inside this
    // window's packet handlers, which go with this part of the object.
    DetachClients();
    StopThread();
    DestroyWindow();
    Log("서버 연결 창 닫음.");
}

void CChannelDlg::OnInitDialog() {
    // A technician may shorten the wait before a reconnect (milliseconds); 0
    // keeps the spread over two minutes that stops kiosks reconnecting at once.
    if (const int ms = CEnvr(kRegistryApplication).GetInt("TCP/IP", "ReconnectMs", 0); ms > 0) {
        SetIntervalReconnect(static_cast<uint32_t>(ms));
    }
    Start(kKioskChannelType);
}

LRESULT CChannelDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleOwnerMessage(message, wParam, lParam)) {
        return message == kChannelDataMessage ? 1 : 0;
    }
    if (message == m_heldMessage) {
        DeliverHeld();
        return 0;
    }
    if (message == m_linkMessage) {
        OnLinkEvent(static_cast<enumLinkEvent>(wParam));
        return 0;
    }
    if (message == WM_COMMAND && wParam == static_cast<WPARAM>(IDOK)) {
        PostQuitMessage(0);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CChannelDlg::SetServerEvents(CServerEvents* events) {
    m_events = events;
    DeliverHeld();
}

int CChannelDlg::ParsePacket(const uint8_t* data, int length) {
    if (data == nullptr || length < 0) {
        return 0;
    }
    const std::span<const uint8_t> message(data, static_cast<size_t>(length));
    if (!IsOnWindowThread()) {
        Hold(message);
        PostMessage(m_heldMessage);
        return 1;
    }
    if (m_events == nullptr) {
        Hold(message);
        return 1;
    }
    DeliverHeld();  // what came earlier goes first
    return Dispatch(message);
}

int CChannelDlg::PreParsePacket(const uint8_t* data, int length) {
    return CNetChannel::PreParsePacket(data, length) != 0 ? 1 : 0;
}

void CChannelDlg::OnNetConnect() {
    CNetChannel::OnNetConnect();
    Log("서버와 연결됨.");
    RunLinkEvent(LINK_CONNECTED);
}

void CChannelDlg::OnNetClose() {
    CNetChannel::OnNetClose();
    Log("서버와 연결 끊어짐.");
    Log(LinkFailureLine(GetLastLinkFailure()));
    RunLinkEvent(LINK_LOST);
}

void CChannelDlg::NotifyChannelState(enumChannelState state, int /*detail*/) {
    g_lastChannelState = state;
    if (const HWND tray = m_trayWindow) {
        hx::PostMessage(tray, kChannelStateMessage, static_cast<WPARAM>(state), 0);
    }
}

// A window that does not exist yet (or any more) has no other thread to
// hand over to.
bool CChannelDlg::IsOnWindowThread() const {
    const HWND hwnd = GetSafeHwnd();
    return hwnd == 0 || CWnd::FromHandle(hwnd) != nullptr;
}

int CChannelDlg::Dispatch(std::span<const uint8_t> message) {
    switch (CServerMessageDispatcher(*m_events, m_chunkWriter, m_log).Dispatch(message)) {
        case enumParseResult::Handled:
            return 1;
        case enumParseResult::NotWritten:
            return 0;
        case enumParseResult::NotMine:
            break;
    }
    return CNetChannel::ParsePacket(message.data(), static_cast<int>(message.size()));
}

void CChannelDlg::Hold(std::span<const uint8_t> message) {
    std::lock_guard lock(m_heldLock);
    if (m_held.size() >= kMaxHeldMessages) {
        Log("서버 메시지 " + std::to_string(PacketCommand(message)) +
            " 버림: 처리를 기다리는 메시지가 너무 많음");
        return;
    }
    m_held.emplace_back(message.begin(), message.end());
}

void CChannelDlg::DeliverHeld() {
    while (m_events != nullptr) {
        std::vector<uint8_t> message;
        {
            std::lock_guard lock(m_heldLock);
            if (m_held.empty()) {
                return;
            }
            message = std::move(m_held.front());
            m_held.pop_front();
        }
        Dispatch(message);
    }
}

void CChannelDlg::RunLinkEvent(enumLinkEvent event) {
    if (IsOnWindowThread()) {
        OnLinkEvent(event);
    } else {
        PostMessage(m_linkMessage, event);
    }
}

void CChannelDlg::OnLinkEvent(enumLinkEvent event) {
    if (m_events == nullptr) {
        return;
    }
    if (event == LINK_CONNECTED) {
        RememberServerAddress();
        m_events->OnServerConnected();
    } else {
        m_events->OnServerLost();
    }
}

// The address the kiosk reached last becomes the pool's first entry.
void CChannelDlg::RememberServerAddress() {
    const CEnvr settings(kRegistryApplication);
    const std::string current = GetCurServerIP();
    if (settings.GetString("TCP/IP", "Server", "") != current) {
        settings.WriteString("TCP/IP", "Server", current.c_str());
    }
}

void CChannelDlg::Log(std::string_view line) const {
    if (m_log) {
        m_log(line);
    }
}

}  // namespace hx
