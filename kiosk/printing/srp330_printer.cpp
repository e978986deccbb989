#include "kiosk/printing/srp330_printer.h"

#include <chrono>
#include <string>

#include "kiosk/printing/first_answer.h"
#include "kiosk/printing/printer_result.h"
#include "platform/registry.h"

namespace hx {

namespace {

constexpr uint8_t kStatusRequest[] = {0x10, 0x04, 0x02};  // DLE EOT 2: offline status
constexpr DWORD kWriteBaseMs = 500;
constexpr DWORD kWritePerByteMs = 5;
constexpr auto kReadSlice = std::chrono::milliseconds(1000);
constexpr auto kAnswerLimit = std::chrono::milliseconds(2500);

struct stStatusBit {
    uint8_t mask;
    int result;
};

constexpr stStatusBit kStatusBits[] = {
    {0x04, PRINTER_COVER_OPEN},
    {0x08, PRINTER_FAULT},  // paper being fed with the feed button
    {0x20, PRINTER_PAPER_OUT},
    {0x40, PRINTER_FAULT},
};

}  // namespace

bool CSrp330Printer::IsInstalledOnUsb() const {
    CRegistry key;
    std::string port;
    return key.Open(enumRegRoot::LocalMachine, kSrp330PrinterKey, enumRegAccess::Read) &&
           key.ReadString("Port", port) && port.find("USB") != std::string::npos;
}

// The first of the maker's devices that can be opened is the printer.
bool CSrp330Printer::Open() {
    Close();
    if (!IsInstalledOnUsb()) {
        return false;
    }
    for (const std::filesystem::path& node : FindUsbPrinterNodes(m_roots, kSrp330VendorId)) {
        if (m_device.Open(node.string(), 0, 0, true) == ERROR_SUCCESS) {
            return true;
        }
    }
    return false;
}

void CSrp330Printer::Close() {
    m_device.Close();
}

int CSrp330Printer::StatusFromByte(uint8_t status) {
    for (const stStatusBit& bit : kStatusBits) {
        if ((status & bit.mask) != 0) {
            return bit.result;
        }
    }
    return PRINTER_READY;
}

int CSrp330Printer::Status() {
    m_device.Purge();
    if (WriteTimed(kStatusRequest) <= 0) {
        return PRINTER_REQUEST_NOT_SENT;
    }
    uint8_t status = 0;
    if (!ReadAnswer(status)) {
        return PRINTER_NO_ANSWER;
    }
    return StatusFromByte(status);
}

bool CSrp330Printer::Write(std::span<const uint8_t> bytes) {
    return WriteTimed(bytes) == static_cast<long>(bytes.size());
}

long CSrp330Printer::WriteTimed(std::span<const uint8_t> bytes) {
    DWORD written = 0;
    const DWORD limit = kWriteBaseMs + kWritePerByteMs * static_cast<DWORD>(bytes.size());
    const LONG result = m_device.Write(bytes.data(), bytes.size(), &written, limit);
    if (result == ERROR_TIMEOUT) {
        return -1;
    }
    return result == ERROR_SUCCESS ? static_cast<long>(written) : -2;
}

// Waits up to a second at a time for the first bytes of the answer, 2.5 s in all.
bool CSrp330Printer::ReadAnswer(uint8_t& status) {
    m_reading = true;
    uint8_t answer[255] = {};
    const size_t count = ReadFirstBytes(m_device, answer, kAnswerLimit, kReadSlice);
    m_reading = false;
    status = answer[0];
    return count > 0;
}

}  // namespace hx
