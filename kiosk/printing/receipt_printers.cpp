#include "kiosk/printing/receipt_printers.h"

#include "kiosk/printing/device_font_escpos.h"
#include "kiosk/printing/srp330_layouts.h"
#include "kiosk/printing/srt320_layouts.h"

namespace hx {

namespace {

constexpr auto kTrySlice = std::chrono::milliseconds(50);

}  // namespace

CReceiptPrinters::CReceiptPrinters(std::filesystem::path iniFile, CSrt320Printer::LogSink log)
    : m_iniFile(std::move(iniFile)), m_srt320(m_library, std::move(log)) {
    LoadPrinterChoice();
}

void CReceiptPrinters::LoadPrinterChoice() {
    const stPrinterChoice choice = ReadPrinterChoice(m_iniFile);
    std::lock_guard lock(m_lock);
    m_model = choice.model;
    m_srt320.SetPortName(choice.srt320Port);
    m_srp330.SetRoots(choice.usbRoots);
    m_library.SetRoots(choice.usbRoots);
}

int CReceiptPrinters::Check() {
    std::lock_guard lock(m_lock);
    return CheckLocked();
}

std::optional<int> CReceiptPrinters::CheckWithin(std::chrono::milliseconds limit,
                                                 const std::function<void()>& whileWaiting) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!m_lock.try_lock_for(kTrySlice)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        whileWaiting();
    }
    std::lock_guard lock(m_lock, std::adopt_lock);
    return CheckLocked();
}

int CReceiptPrinters::CheckLocked() {
    int result = PRINTER_NOT_OPENED;
    if (m_model == enumPrinterModel::Srt320) {
        result = ConvertErrCode(m_srt320.Status());
    } else if (m_srp330.Open()) {
        result = m_srp330.Status();
        m_srp330.Close();
    }
    m_lastStatus = result;
    return result;
}

int CReceiptPrinters::PrintShopCard(const stShopCardInfo& ticket) {
    std::lock_guard lock(m_lock);
    if (m_model == enumPrinterModel::Srp330) {
        return PrintOnUsb(Srp330ShopCard(ticket));
    }
    return ConvertErrCode(m_srt320.PrintDocument(Srt320ShopCard(ticket), true));
}

int CReceiptPrinters::PrintCardReceipt(const stCardReceiptInfo& receipt) {
    std::lock_guard lock(m_lock);
    if (m_model == enumPrinterModel::Srp330) {
        return PrintOnUsb(Srp330CardReceipt(receipt));
    }
    return ConvertErrCode(m_srt320.PrintDocument(Srt320CardReceipt(receipt), false));
}

// Only a ready printer gets the document. A document that does not go out
// is a fault, not a printed ticket.
int CReceiptPrinters::PrintOnUsb(const stDeviceDocument& document) {
    if (!m_srp330.Open()) {
        return PRINTER_NOT_OPENED;
    }
    int result = m_srp330.Status();
    if (result == PRINTER_READY && !m_srp330.Write(EncodeDeviceDocument(document))) {
        result = PRINTER_FAULT;
    }
    m_srp330.Close();
    return result;
}

}  // namespace hx
