#include "kiosk/printing/printer_result.h"

namespace hx {

int ConvertErrCode(int driverResult) {
    switch (driverResult) {
        case 0:
        case 2:  // a status the library could not read counts as ready
            return PRINTER_READY;
        case 4:
            return PRINTER_NOT_OPENED;
        case 5:
            return PRINTER_PAPER_OUT;
        case 6:
            return PRINTER_COVER_OPEN;
        default:
            return PRINTER_FAULT;
    }
}

}  // namespace hx
