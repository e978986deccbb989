#include "kiosk/printing/printer_choice.h"

#include "platform/ini_file.h"

namespace hx {

namespace {

std::string ReadPrinterValue(const char* key, const char* fallback,
                             const std::filesystem::path& iniFile) {
    return GetPrivateProfileString("Printer", key, fallback, iniFile);
}

}  // namespace

stPrinterChoice ReadPrinterChoice(const std::filesystem::path& iniFile) {
    stPrinterChoice choice;
    if (ReadPrinterValue("UseSRP330", "OFF", iniFile) == "ON") {
        choice.model = enumPrinterModel::Srp330;
    } else {
        choice.srt320Port = ReadPrinterValue("Srt320Port", "COM0", iniFile);
    }
    choice.usbRoots.sysfs = ReadPrinterValue("SysfsRoot", "/sys", iniFile);
    choice.usbRoots.dev = ReadPrinterValue("DevRoot", "/dev", iniFile);
    return choice;
}

}  // namespace hx
