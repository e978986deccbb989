#pragma once
// Starting the card terminal program with the kiosk: nothing when it runs
// already (under the exact image name "VCat.exe"), else its starter
// "VCatRun.exe" from the install folder that HKLM\SOFTWARE\VCAT "PATH"
// names. There is no watchdog after this; the terminal's health is judged
// from its merchant information.

#include <functional>
#include <string_view>

#include "kiosk/support/daily_log.h"

namespace hx {

inline constexpr int kVCatRunning = 1;
inline constexpr int kVCatStarted = -100;
inline constexpr int kVCatNotInstalled = -101;

// kVCatRunning, kVCatStarted or kVCatNotInstalled; what it did goes to `log`.
int StartVCat(const std::function<void(std::string_view)>& log = HXKioskLog);

}  // namespace hx
