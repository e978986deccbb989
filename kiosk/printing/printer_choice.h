#pragma once
// Which receipt printer the kiosk uses, from [Printer] of "INI\HXKiosk.ini":
// UseSRP330 exactly "ON" chooses the USB printer, anything else the serial
// one on Srt320Port ("COM0" when missing). SysfsRoot and DevRoot ("/sys",
// "/dev") say where the USB printer is looked for.

#include <filesystem>
#include <string>

#include "kiosk/printing/usb_printer_finder.h"

namespace hx {

enum class enumPrinterModel { Srp330 = 1, Srt320 = 2 };

struct stPrinterChoice {
    enumPrinterModel model = enumPrinterModel::Srt320;
    std::string srt320Port = "COM0";
    stUsbRoots usbRoots;
};

stPrinterChoice ReadPrinterChoice(const std::filesystem::path& iniFile);

}  // namespace hx
