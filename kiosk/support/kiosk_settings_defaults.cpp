#include "kiosk/support/kiosk_settings_defaults.h"

namespace hx {

namespace {

constexpr stKioskSettingDefault Number(const char* section, const char* name, int number) {
    return {section, name, enumRegType::Dword, number, nullptr};
}

constexpr stKioskSettingDefault Text(const char* section, const char* name, const char* text) {
    return {section, name, enumRegType::Sz, 0, text};
}

constexpr stKioskSettingDefault kDefaults[] = {
    Number("Settings", "ShowProgress", kDefaultShowProgress),
    Number("Settings", "ShowCreditDlg", kDefaultShowCreditDlg),
    Number("Settings", "ShowDispenserDlg", kDefaultShowDispenserDlg),
    Number("Settings", "ShowPCBDlg", kDefaultShowPcbDlg),
    Number("Settings", "ShowMouse", kDefaultShowMouse),
    Number("Settings", "DispenserLog", kDefaultDispenserLog),
    Number("Settings", "PCBLog", kDefaultPcbLog),
    Number("Settings", "ConfigPW", kDefaultConfigPw),
    Text("TCP/IP", "MainServer", kDefaultMainServer),
    Number("TCP/IP", "NextIndex", kDefaultNextIndex),
    Number("KIOSK", "KioskNo", kDefaultKioskNo),
    Text("KIOSK", "KioskName", kDefaultKioskName),
    Text("Computer", "KeyMAC", kDefaultKeyMac),
    Number("RFCard", "StartYear", kDefaultRfStartYear),
    Number("RFCard", "StartMonth", kDefaultRfStartMonth),
    Number("RFCard", "StartDay", kDefaultRfStartDay),
    Number("RFCard", "StartHour", kDefaultRfStartHour),
    Number("RFCard", "StartMin", kDefaultRfStartMin),
    Number("RFCard", "StartSec", kDefaultRfStartSec),
};

}  // namespace

std::span<const stKioskSettingDefault> KioskSettingDefaults() {
    return kDefaults;
}

}  // namespace hx
