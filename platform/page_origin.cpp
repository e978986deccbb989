#include "platform/page_origin.h"

#include <string>
#include <string_view>

namespace hx {

bool IsAllowedOrigin(const char* origin, std::uint16_t port) {
    // Pages of other sites in the same browser must not drive the kiosk;
    // clients that are not browsers send no origin.
    if (origin == nullptr) {
        return true;
    }
    const std::string suffix = ":" + std::to_string(port);
    const std::string_view value(origin);
    return value == "http://127.0.0.1" + suffix || value == "http://localhost" + suffix;
}

}  // namespace hx
