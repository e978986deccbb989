#include "kiosk/support/service_monitor.h"

#include "kiosk/support/kiosk_settings_defaults.h"
#include "platform/envr.h"

namespace hx {

void MarkKioskRunning() {
    const CEnvr envr(kRegistryApplication);
    envr.WriteString("Settings", "QuitServer", "0");
    envr.WriteInt("Settings", "ServiceMon", 1);
}

void MarkKioskQuit() {
    const CEnvr envr(kRegistryApplication);
    envr.WriteInt("Settings", "ServiceMon", 0);
    envr.WriteString("Settings", "QuitServer", "1");
}

}  // namespace hx
