#pragma once
// What a print job or a status check of either receipt printer comes to, as
// the kiosk window hears it.

namespace hx {

enum enumPrinterResult : int {
    PRINTER_READY = 101,       // ready, or the job printed
    PRINTER_NOT_OPENED = 102,  // not connected, not installed, port busy
    PRINTER_PAPER_OUT = 103,
    PRINTER_COVER_OPEN = 104,
    PRINTER_FAULT = 105,             // error, paper being fed, or a print that failed
    PRINTER_REQUEST_NOT_SENT = 106,  // USB printer: the status request was not written
    PRINTER_NO_ANSWER = 107,         // USB printer: no status answer
};

// The serial printer driver's results to the kiosk's codes.
int ConvertErrCode(int driverResult);

}  // namespace hx
