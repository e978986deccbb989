#pragma once
// The kiosk's two receipt printers and the jobs run on the chosen one: a
// status check, the guest ticket, the card receipt, each giving a printer
// result code. Every job, every status query and a change of the choice hold
// the printers' lock for their whole run, so a status check from the user
// interface thread never works on a printer that the printer thread is
// drawing a ticket on. (Only one printer is used at a time, so one lock
// serves both.)

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>

#include "kiosk/printing/device_document.h"
#include "kiosk/printing/pos_printer_line.h"
#include "kiosk/printing/printer_choice.h"
#include "kiosk/printing/printer_result.h"
#include "kiosk/printing/receipt_records.h"
#include "kiosk/printing/srp330_printer.h"
#include "kiosk/printing/srt320_printer.h"

namespace hx {

class CReceiptPrinters {
public:
    explicit CReceiptPrinters(std::filesystem::path iniFile,
                              CSrt320Printer::LogSink log = HXKioskLog);
    CReceiptPrinters(const CReceiptPrinters&) = delete;
    CReceiptPrinters& operator=(const CReceiptPrinters&) = delete;

    // Reads the choice again (the settings screen calls it after a change).
    void LoadPrinterChoice();
    enumPrinterModel Model() const { return m_model; }

    int Check();
    int PrintShopCard(const stShopCardInfo& ticket);
    int PrintCardReceipt(const stCardReceiptInfo& receipt);
    // A check that waits at most `limit` for the printer, running
    // `whileWaiting` between tries; nullopt when the printer stayed busy.
    std::optional<int> CheckWithin(std::chrono::milliseconds limit,
                                   const std::function<void()>& whileWaiting);
    // The result of the last status check of either kind.
    int LastStatus() const { return m_lastStatus; }

private:
    int CheckLocked();
    int PrintOnUsb(const stDeviceDocument& document);

    const std::filesystem::path m_iniFile;
    std::atomic<enumPrinterModel> m_model{enumPrinterModel::Srt320};
    std::atomic<int> m_lastStatus{PRINTER_READY};
    std::timed_mutex m_lock;
    CSrp330Printer m_srp330;
    CPosPrinterLine m_library;
    CSrt320Printer m_srt320;
};

}  // namespace hx
