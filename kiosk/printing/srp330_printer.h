#pragma once
// The USB receipt printer: installed when its printer entry's "Port" value
// names a USB port, found in sysfs by the maker's USB vendor id, and opened
// through its device node for this process alone. ESC/POS documents are
// written to the node and the real-time status is read back on it. Every
// job opens, works and closes; nothing stays open between jobs.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "kiosk/printing/usb_printer_finder.h"
#include "platform/serial.h"

namespace hx {

inline constexpr const char* kSrp330PrinterKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Printers\\BIXOLON SRP-330";
inline constexpr const char* kSrp330VendorId = "1504";

class CSrp330Printer {
public:
    explicit CSrp330Printer(stUsbRoots roots = {}) : m_roots(std::move(roots)) {}
    CSrp330Printer(const CSrp330Printer&) = delete;
    CSrp330Printer& operator=(const CSrp330Printer&) = delete;

    void SetRoots(const stUsbRoots& roots) { m_roots = roots; }
    // False when the printer is not installed on a USB port, or no device of
    // the maker can be opened (another holder makes it fail too).
    bool Open();
    void Close();
    bool IsOpen() const { return m_device.IsOpen(); }

    // A printer result code; the printer must be open.
    int Status();
    // Writes a whole document; false when it did not all go out in time.
    bool Write(std::span<const uint8_t> bytes);
    // True while a status answer is being read.
    bool IsReading() const { return m_reading; }

    // The status byte's meaning, first set bit deciding: cover open, paper
    // being fed, paper out, error; none of them is ready.
    static int StatusFromByte(uint8_t status);

private:
    bool IsInstalledOnUsb() const;
    // Bytes written, -1 when the time ran out, -2 on another error.
    long WriteTimed(std::span<const uint8_t> bytes);
    bool ReadAnswer(uint8_t& status);

    stUsbRoots m_roots;
    CSerial m_device;
    std::atomic<bool> m_reading{false};
};

}  // namespace hx
