#include "kiosk/support/float_counts.h"

#include "kiosk/support/paths.h"
#include "platform/ini_file.h"

namespace hx {

stFloatCounts LoadFloatCounts() {
    const auto file = GetProgramPath("INI\\SaveMoney.ini");
    const auto count = [&](const char* key) {
        return GetPrivateProfileNumber("Money", key, 0, file);
    };
    return {count("1000"), count("5000"), count("10000"), count("RFCard")};
}

}  // namespace hx
