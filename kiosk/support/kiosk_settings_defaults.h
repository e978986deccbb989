#pragma once
// The kiosk's own registry values under HKLM\SOFTWARE\Norvane\HxKiosk and the
// defaults they get on first read. The first reader of a missing value stores
// its default for everyone, so every reader passes these constants. The values
// the channel library reads have their defaults in the channel's header.

#include <span>

#include "channel/channel_settings_defaults.h"
#include "platform/registry_value.h"

namespace hx {

inline constexpr const char* kRegistryCompany = "Norvane";
inline constexpr const char* kRegistryApplication = "HxKiosk";

// Settings
inline constexpr int kDefaultShowProgress = 0;
inline constexpr int kDefaultShowCreditDlg = 0;
inline constexpr int kDefaultShowDispenserDlg = 0;
inline constexpr int kDefaultShowPcbDlg = 0;
inline constexpr int kDefaultShowMouse = 1;
inline constexpr int kDefaultDispenserLog = 1;
inline constexpr int kDefaultPcbLog = 1;
inline constexpr int kDefaultConfigPw = 4179;
// RFCard: base date and time of the guest card validity encoding
inline constexpr int kDefaultRfStartYear = 2016;
inline constexpr int kDefaultRfStartMonth = 1;
inline constexpr int kDefaultRfStartDay = 1;
inline constexpr int kDefaultRfStartHour = 0;
inline constexpr int kDefaultRfStartMin = 0;
inline constexpr int kDefaultRfStartSec = 0;

struct stKioskSettingDefault {
    const char* section;
    const char* name;
    enumRegType type;  // Dword uses number, Sz uses text
    int number;
    const char* text;
};

// Every kiosk value that has a fixed default, the channel's among them.
std::span<const stKioskSettingDefault> KioskSettingDefaults();

}  // namespace hx
