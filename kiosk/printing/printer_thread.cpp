#include "kiosk/printing/printer_thread.h"

#include "platform/message_loop.h"

namespace hx {

namespace {

constexpr auto kStopSlice = std::chrono::milliseconds(10);

LPARAM AddressOf(const void* record) {
    return reinterpret_cast<LPARAM>(record);
}

}  // namespace

CPrinterThread::CPrinterThread(HWND kioskWindow, const std::filesystem::path& iniFile,
                               CSrt320Printer::LogSink log)
    : m_kioskWindow(kioskWindow), m_printers(iniFile, std::move(log)) {}

CPrinterThread::~CPrinterThread() {
    Stop();
}

void CPrinterThread::Start() {
    if (m_thread.joinable()) {
        return;
    }
    m_running = true;
    m_ended = false;
    m_thread = std::thread([this] {
        Run();
        m_ended = true;
    });
}

void CPrinterThread::Stop() {
    if (!m_thread.joinable()) {
        return;
    }
    {
        std::lock_guard lock(m_queueLock);
        m_running = false;
    }
    m_wake.notify_all();
    // A job's result may be on its way to this thread: take it while waiting.
    // A job still printing ends within its device's own time limits.
    const auto deadline = std::chrono::steady_clock::now() + kStopLimit;
    while (!m_ended && std::chrono::steady_clock::now() < deadline) {
        MSG ignored;
        PeekMessage(&ignored, 0, 0, 0, PM_NOREMOVE);
        std::this_thread::sleep_for(kStopSlice);
    }
    m_thread.join();
}

void CPrinterThread::Push(_stPrinterCmd job) {
    {
        std::lock_guard lock(m_queueLock);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void CPrinterThread::PushShopCardPrint(const stShopCardInfo& ticket) {
    Push({PRINT_SHOPCARD, ticket, {}});
}

void CPrinterThread::PushCardReceiptPrint(const stCardReceiptInfo& receipt) {
    Push({PRINT_CARDRECEIPT, {}, receipt});
}

void CPrinterThread::PushCheck() {
    if (!m_checkBusy) {
        Push({PRINT_CHECK, {}, {}});
    }
}

int CPrinterThread::PrintShopCardNow(const stShopCardInfo& ticket) {
    return m_printers.PrintShopCard(ticket);
}

int CPrinterThread::SyncCheckPrinter() {
    if (m_checkBusy.exchange(true)) {
        return PRINTER_READY;
    }
    const std::optional<int> result =
        m_printers.CheckWithin(kSyncCheckLimit, [] { PumpMessagesFor(0); });
    m_checkBusy = false;
    return result.value_or(m_printers.LastStatus());
}

void CPrinterThread::Run() {
    std::unique_lock lock(m_queueLock);
    while (true) {
        m_wake.wait(lock, [this] { return !m_running || !m_jobs.empty(); });
        if (!m_running) {
            return;
        }
        const _stPrinterCmd job = m_jobs.front();
        lock.unlock();
        DispatchCommand(job);
        lock.lock();
        m_jobs.pop_front();
    }
}

void CPrinterThread::DispatchCommand(const _stPrinterCmd& job) {
    switch (job.command) {
        case PRINT_CHECK: {
            m_checkBusy = true;
            const int result = m_printers.Check();
            m_checkBusy = false;
            if (result != PRINTER_READY) {
                SendMessage(m_kioskWindow, WM_PRINTER_STATUS, static_cast<WPARAM>(result), 0);
            }
            return;
        }
        case PRINT_SHOPCARD: {
            const int result = m_printers.PrintShopCard(job.ticket);
            m_shopCardResult = job.ticket;
            SendMessage(m_kioskWindow, WM_PRINT_SHOPCARD_DONE, static_cast<WPARAM>(result),
                        AddressOf(&m_shopCardResult));
            return;
        }
        case PRINT_CARDRECEIPT: {
            const int result = m_printers.PrintCardReceipt(job.receipt);
            m_cardReceiptResult = job.receipt;
            SendMessage(m_kioskWindow, WM_PRINT_CARDRECEIPT_DONE, static_cast<WPARAM>(result),
                        AddressOf(&m_cardReceiptResult));
            return;
        }
        default:
            return;
    }
}

}  // namespace hx
