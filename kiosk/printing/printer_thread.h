#pragma once
// The printer job thread: print jobs from the kiosk window run here one at a
// time, in the order they came, and each result goes back to the kiosk
// window by a sent (blocking) message. Status checks can also run at once on
// the caller's thread. An idle thread sleeps until a job or the stop comes.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#include "kiosk/printing/receipt_printers.h"
#include "platform/window_types.h"

namespace hx {

inline constexpr UINT WM_PRINTER_STATUS = 1124;          // wParam: result (only when not ready)
inline constexpr UINT WM_PRINT_SHOPCARD_DONE = 1125;     // lParam: the thread's stShopCardInfo
inline constexpr UINT WM_PRINT_CARDRECEIPT_DONE = 1127;  // lParam: the thread's stCardReceiptInfo

enum enumPrinterCommand : int { PRINT_CHECK = 1, PRINT_SHOPCARD = 2, PRINT_CARDRECEIPT = 4 };

struct _stPrinterCmd {
    int command = 0;
    stShopCardInfo ticket;
    stCardReceiptInfo receipt;
};

class CPrinterThread {
public:
    static constexpr auto kStopLimit = std::chrono::milliseconds(3000);
    static constexpr auto kSyncCheckLimit = std::chrono::milliseconds(3500);

    CPrinterThread(HWND kioskWindow, const std::filesystem::path& iniFile,
                   CSrt320Printer::LogSink log = HXKioskLog);
    ~CPrinterThread();
    CPrinterThread(const CPrinterThread&) = delete;
    CPrinterThread& operator=(const CPrinterThread&) = delete;

    void Start();
    // Ends the thread: jobs still queued are dropped. The caller keeps
    // handling messages sent to it while it waits, so a result on its way
    // does not hold the thread up.
    void Stop();

    void PushShopCardPrint(const stShopCardInfo& ticket);
    void PushCardReceiptPrint(const stCardReceiptInfo& receipt);
    // Nothing while a status check runs.
    void PushCheck();
    int PrintShopCardNow(const stShopCardInfo& ticket);
    // 101 at once while another check runs; the last known status when the
    // printer stays busy with a job for longer than the wait allows.
    int SyncCheckPrinter();
    void LoadPrinterChoice() { m_printers.LoadPrinterChoice(); }

    CReceiptPrinters& Printers() { return m_printers; }

private:
    void Push(_stPrinterCmd job);
    void Run();
    void DispatchCommand(const _stPrinterCmd& job);

    const HWND m_kioskWindow;
    CReceiptPrinters m_printers;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_checkBusy{false};
    std::mutex m_queueLock;
    std::condition_variable m_wake;
    std::deque<_stPrinterCmd> m_jobs;
    std::atomic<bool> m_ended{false};
    // The payloads of the last finished jobs, which the results point to.
    stShopCardInfo m_shopCardResult;
    stCardReceiptInfo m_cardReceiptResult;
    std::thread m_thread;
};

}  // namespace hx
