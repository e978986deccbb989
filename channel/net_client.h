#pragma once
// How application code sends a request over the channel and waits for its
// answer. A client takes a sequence number from its channel, stamps its
// sequence and service key into every packet it builds, and receives what the
// server addresses to it: as kClientPacketMessage on its window, or, without
// a window, in a queue that the waits take from. A waiting client drives the
// channel's receiving itself, so an answer can be awaited on any thread.
//
// Construction tells the server a client was opened (command 2), destruction
// that it was closed (command 3).

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>

#include "channel/channel_access.h"
#include "channel/queue_data.h"
#include "channel/recv_status.h"
#include "channel/return_code.h"
#include "net/mutex_ex.h"
#include "net/packet_header.h"
#include "platform/window_types.h"
#include "platform/wnd.h"

namespace hx {

class CNetChannel;

using SERVICEKEY = uint32_t;

enum enumService : uint32_t {
    SERVICE_KIOSK = 9,
};

// wParam: the packet's address, valid only during the call; lParam: its length.
inline constexpr UINT kClientPacketMessage = 1045;
// What a wait returns when no usable answer came: -999.
inline constexpr int kNoReturnCode = -999;

class CNetClient {
public:
    // A client without a window takes a sequence number from the channel;
    // one with a window has sequence 0 and is reached by service key only.
    // The window object must outlive the client; its handle is looked up at
    // each hand-over, so the window may be created after the client.
    CNetClient(CNetChannel* channel, SERVICEKEY serviceKey, CWnd* window = nullptr);
    virtual ~CNetClient();
    CNetClient(const CNetClient&) = delete;
    CNetClient& operator=(const CNetClient&) = delete;

    // The channel's header, then this client's sequence and service key.
    // False without a channel.
    bool InitClientHeader(std::span<uint8_t> packet, enumCommand command);
    // 1 when the channel sent it, 0 otherwise (also without a channel).
    int SendPacket(const void* data, int length);

    uint32_t GetSequence() const { return m_sequence; }
    SERVICEKEY GetServiceKey() const { return m_serviceKey; }
    // Turning it off also drops the status object.
    void SetShowRecvStatus(bool show);
    bool GetShowRecvStatus() const { return m_showRecvStatus; }

    // Process-wide: the length of a wait in seconds (30), the progress window
    // during waits longer than 5 s (off), a message box when a wait times out (off).
    static void SetLimitSecond(int seconds) { m_LimitSecond = seconds; }
    static void SetShowProgress(int show) { m_bShowProgress = show; }
    static void SetTimeOutMsg(int show) { m_bTimeOutMsg = show; }
    static int GetLimitSecond() { return m_LimitSecond; }

    // The channel hands a packet over with kClientPacketMessage: a client with
    // a window passes it on synchronously and returns the window's result (0
    // when the window is gone); one without queues a copy and returns 1.
    // Other messages give 0.
    LRESULT DispatchMessageA(UINT message, WPARAM wParam, LPARAM lParam);

    void AddData(std::unique_ptr<CQueueData> data);
    // The oldest queued packet, or null.
    std::unique_ptr<CQueueData> GetData();
    int IsEmpty();
    void ClearAllData();

    // Waits up to the limit for the next packet, receiving meanwhile. Null on
    // a failure answer (0xFFFFFFFF, 0xFFFFFFFE: commandOut holds it), a packet
    // shorter than a header, a cancelled progress window, a channel that is not
    // alive, or the time-out. The awaited command is not compared: callers check.
    std::unique_ptr<CQueueData> _WaitPacket(enumCommand command, uint32_t* commandOut = nullptr);
    // _WaitPacket, with the packet moved into out: 1, else 0.
    int WaitPacket(CQueueData& out, enumCommand command, int unused = 1,
                   uint32_t* commandOut = nullptr);
    // A queued packet now, or null after letting the channel receive once.
    std::unique_ptr<CQueueData> _PeekPacket();
    int PeekPacket(CQueueData& out);

    // Asks the server for a new service key; 0 when none was given.
    SERVICEKEY ReqNewService(enumService service, const std::string& first,
                             const std::string& second);
    // Waits for a return code answer and copies its record into `record`
    // (cleared first): its code, or kNoReturnCode without a usable answer.
    int WaitReturnCode(stReturnCode* record);

    // A wait also ends, without a packet, once *keepWaiting turns false: for a
    // worker thread that must stop promptly. Null (the default): waits run
    // to their limit.
    void SetKeepWaiting(const std::atomic<bool>* keepWaiting) { m_keepWaiting = keepWaiting; }

    // The progress window of the wait in progress; 0 when none is open. Any thread.
    HWND GetProgressHwnd() const { return m_progressHwnd; }

private:
    // Takes the next packet, or null when the wait ends without one.
    std::unique_ptr<CQueueData> AwaitQueued(enumCommand command);

    static std::atomic<int> m_LimitSecond;
    static std::atomic<int> m_bShowProgress;
    static std::atomic<int> m_bTimeOutMsg;

    const std::shared_ptr<CChannelAccess> m_access;  // null without a channel
    const SERVICEKEY m_serviceKey;
    CWnd* const m_window;
    const uint32_t m_sequence;
    std::atomic<bool> m_showRecvStatus;
    std::unique_ptr<CRecvStatus> m_status;
    CMutexEx m_queueMutex;
    std::deque<std::unique_ptr<CQueueData>> m_queue;
    std::atomic<HWND> m_progressHwnd{0};
    const std::atomic<bool>* m_keepWaiting = nullptr;
};

}  // namespace hx
