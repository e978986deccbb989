#pragma once
// SIGTERM and SIGINT become a thread message, so a stop request from outside
// ends the kiosk through its normal quit path.

#include <cstdint>

#include "platform/window_types.h"

namespace hx {

// From now on SIGTERM and SIGINT post `message` (wParam = lParam = 0) to the
// loop of thread `threadId`. False when already installed or the helper thread
// cannot start.
bool InstallQuitSignals(std::uint32_t threadId, UINT message);
// Puts back the handlers found at installation and stops the helper thread.
void UninstallQuitSignals();

}  // namespace hx
