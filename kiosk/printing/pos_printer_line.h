#pragma once
// Our stand-in for the serial receipt printer's library: ESC/POS over a
// serial port ("COMn", through DRIVE/dosdevices/comn) at the speed asked
// for, 8N1, or over the first USB printer's device node ("USB"). A document
// starts with ESC @, so nothing of the one before carries over, and its
// formatting words become ESC/POS commands.
//
// Answers: Open 1 or 0. Print 1 printed, 0 for an empty document, 101 when
// the port is not open, 200 when the bytes did not go out in time. Status(n)
// asks with the real-time request DLE EOT n and reads one byte: 101 when the
// port is not open, 200 when the request did not go out, no byte came within
// a second or the byte is not a status byte (bits 1 and 4 set, 0 and 7
// clear); 3 when it reports the paper out (DLE EOT 4: 0x60, otherwise 0x20);
// else 1, ready.

#include <cstdint>
#include <span>

#include "kiosk/printing/pos_printer_library.h"
#include "kiosk/printing/usb_printer_finder.h"
#include "platform/serial.h"

namespace hx {

class CPosPrinterLine : public IPosPrinterLibrary {
public:
    explicit CPosPrinterLine(stUsbRoots roots = {}) : m_roots(std::move(roots)) {}
    void SetRoots(const stUsbRoots& roots) { m_roots = roots; }

    void Close() override;
    int Open(const char* port, int speed) override;
    int Print(const char* document) override;
    int Status(int request) override;

    static int StatusAnswer(int request, uint8_t status);

private:
    bool WriteAll(std::span<const uint8_t> bytes);

    stUsbRoots m_roots;
    CSerial m_port;
};

}  // namespace hx
