#include "kiosk/printing/pos_printer_line.h"

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "kiosk/printing/first_answer.h"
#include "kiosk/printing/pos_format_words.h"

namespace hx {

namespace {

constexpr int kPrinted = 1;
constexpr int kEmptyDocument = 0;
constexpr int kNotOpen = 101;
constexpr int kNotAnswered = 200;
constexpr int kPaperOut = 3;
constexpr int kReady = 1;

constexpr DWORD kWriteBaseMs = 1000;
constexpr std::chrono::milliseconds kAnswerLimit{1000};
// Documents of a receipt printer are a few kilobytes.
constexpr size_t kLongestDocument = 64 * 1024;

bool IsStatusByte(uint8_t status) {
    return (status & 0x93) == 0x12;
}

}  // namespace

void CPosPrinterLine::Close() {
    m_port.Close();
}

int CPosPrinterLine::Open(const char* port, int speed) {
    Close();
    const std::string name = port == nullptr ? std::string() : std::string(port);
    if (name == "USB") {
        const auto nodes = FindUsbPrinterNodes(m_roots, "");
        return !nodes.empty() && m_port.Open(nodes.front().string(), 0, 0, true) == ERROR_SUCCESS
                   ? 1
                   : 0;
    }
    if (m_port.Open(name, 0, 0, true) != ERROR_SUCCESS ||
        m_port.Setup(static_cast<DWORD>(speed), 8, NOPARITY, ONESTOPBIT) != ERROR_SUCCESS) {
        m_port.Close();
        return 0;
    }
    return 1;
}

int CPosPrinterLine::Print(const char* document) {
    if (!m_port.IsOpen()) {
        return kNotOpen;
    }
    const size_t length = document == nullptr ? 0 : strnlen(document, kLongestDocument + 1);
    if (length == 0 || length > kLongestDocument) {
        return kEmptyDocument;
    }
    std::vector<uint8_t> bytes{0x1B, '@'};
    const std::vector<uint8_t> body = TranslateFormatWords({document, length});
    bytes.insert(bytes.end(), body.begin(), body.end());
    return WriteAll(bytes) ? kPrinted : kNotAnswered;
}

int CPosPrinterLine::Status(int request) {
    if (!m_port.IsOpen()) {
        return kNotOpen;
    }
    m_port.Purge();
    const uint8_t ask[] = {0x10, 0x04, static_cast<uint8_t>(request)};
    if (!WriteAll(ask)) {
        return kNotAnswered;
    }
    uint8_t status[1] = {};
    if (ReadFirstBytes(m_port, status, kAnswerLimit, kAnswerLimit) == 0) {
        return kNotAnswered;
    }
    return StatusAnswer(request, status[0]);
}

int CPosPrinterLine::StatusAnswer(int request, uint8_t status) {
    if (!IsStatusByte(status)) {
        return kNotAnswered;
    }
    const uint8_t paperOut = request == 4 ? 0x60 : 0x20;
    return (status & paperOut) != 0 ? kPaperOut : kReady;
}

// A line at 115200 baud moves about 11 bytes a millisecond; a second more
// covers a printer that holds the line briefly.
bool CPosPrinterLine::WriteAll(std::span<const uint8_t> bytes) {
    DWORD written = 0;
    const DWORD limit = kWriteBaseMs + static_cast<DWORD>(bytes.size());
    return m_port.Write(bytes.data(), bytes.size(), &written, limit) == ERROR_SUCCESS &&
           written == bytes.size();
}

}  // namespace hx
