#pragma once

namespace hx {

// The two registry values an outside service monitor watches: 1 / "0" while
// the kiosk is meant to run, 0 / "1" after an orderly quit. An abnormal end
// leaves 1 / "0" behind, which is how the monitor tells a crash.

void MarkKioskRunning();
void MarkKioskQuit();

}  // namespace hx
