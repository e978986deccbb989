#pragma once
// The kiosk's channel window: a hidden dialog that is at the same time the
// channel to the front-desk server and that channel's owner window, so the
// channel's timers and data messages come back to it. It reacts to the link
// coming and going and reads every message the server sends on its own
// initiative. A lost link is logged with the reason the channel recorded,
// on a line of its own after "서버와 연결 끊어짐.".
//
// Everything reaches the kiosk window's side on the user interface thread:
// a packet received by a request client waiting on another thread, and a
// link lost there, are copied and posted to this window first. Messages that
// arrive before the kiosk window exists are held and handed over when it
// does, so nothing the server sends at start-up is lost.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string_view>
#include <vector>

#include "channel/net_channel.h"
#include "kiosk/server/file_chunk_writer.h"
#include "kiosk/server/server_events.h"
#include "kiosk/support/daily_log.h"
#include "platform/dialog.h"

namespace hx {

// The channel state last reported by the channel window (0 closed, 1
// connecting, 2 connected); 0 until the first report. Any thread.
int GetLastChannelState();

class CChannelDlg : public CDialog, public CNetChannel {
public:
    using LogSink = std::function<void(std::string_view utf8Line)>;

    // Posted to the tray window with the new state in wParam.
    static constexpr UINT kChannelStateMessage = 1049;
    static constexpr int kKioskChannelType = 0;
    // Held messages beyond this many are dropped (and logged).
    static constexpr size_t kMaxHeldMessages = 1024;

    explicit CChannelDlg(uint16_t basePort = kChannelBasePort, LogSink log = HXKioskLog);
    // Stops the worker and closes the window; the channel part then drops the link.
    ~CChannelDlg() override;

    // Starts the channel as the kiosk's.
    void OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The tray window, created after this one; 0 sends state reports nowhere.
    void SetTrayWindow(HWND tray) { m_trayWindow = tray; }
    // The kiosk window's side, null until it exists (and again before it
    // goes). Messages held meanwhile are handed over at once.
    void SetServerEvents(CServerEvents* events);

    int ParsePacket(const uint8_t* data, int length) override;
    int PreParsePacket(const uint8_t* data, int length) override;
    void OnNetConnect() override;
    void OnNetClose() override;
    void NotifyChannelState(enumChannelState state, int detail) override;

private:
    enum enumLinkEvent : WPARAM { LINK_CONNECTED = 1, LINK_LOST = 2 };

    bool IsOnWindowThread() const;
    int Dispatch(std::span<const uint8_t> message);
    void Hold(std::span<const uint8_t> message);
    void DeliverHeld();
    void RunLinkEvent(enumLinkEvent event);
    void OnLinkEvent(enumLinkEvent event);
    void RememberServerAddress();
    void Log(std::string_view line) const;

    const LogSink m_log;
    CFileChunkWriter m_chunkWriter;  // user interface thread only
    const UINT m_heldMessage;
    const UINT m_linkMessage;
    std::atomic<HWND> m_trayWindow{0};
    CServerEvents* m_events = nullptr;  // user interface thread only
    std::mutex m_heldLock;
    std::deque<std::vector<uint8_t>> m_held;
};

}  // namespace hx
