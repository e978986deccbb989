#pragma once
// The serial receipt printer, driven through its library: the port is named
// by the settings and opened around every status query and document; a
// document the library answers 101 is sent once more on a reopened port.
// Results are the driver's own (ConvertErrCode gives the kiosk's codes).

#include <functional>
#include <string>
#include <string_view>

#include "kiosk/printing/pos_printer_library.h"
#include "kiosk/support/daily_log.h"

namespace hx {

enum enumSrt320Result : int {
    SRT320_OK = 0,
    SRT320_PRINT_FAILED = 1,
    SRT320_STATUS_UNREAD = 2,  // counts as ready
    SRT320_PRINT_REFUSED = 3,
    SRT320_NOT_OPENED = 4,
    SRT320_PAPER_OUT = 5,
};

class CSrt320Printer {
public:
    using LogSink = std::function<void(std::string_view)>;

    explicit CSrt320Printer(IPosPrinterLibrary& library, LogSink log = HXKioskLog)
        : m_library(library), m_log(std::move(log)) {}
    ~CSrt320Printer();
    CSrt320Printer(const CSrt320Printer&) = delete;
    CSrt320Printer& operator=(const CSrt320Printer&) = delete;

    void SetPortName(std::string port) { m_port = std::move(port); }
    const std::string& PortName() const { return m_port; }

    int Status();
    // `ticket`: a guest ticket the library answers 200 did not print; for a
    // card receipt that answer counts as printed.
    int PrintDocument(const std::string& document, bool ticket);

private:
    bool Open();
    void Close();

    IPosPrinterLibrary& m_library;
    const LogSink m_log;
    std::string m_port = "COM0";
    bool m_open = false;
};

}  // namespace hx
