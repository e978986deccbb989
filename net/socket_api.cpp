#include "net/socket_api.h"

#include <cstdio>
#include <cstring>

namespace hx {

// Formatted aside first: a caller's size is never trusted to bound a write,
// and a buffer that is too small is left as it was.
bool FormatDotted(const in_addr& address, char* out, int size) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address.s_addr);
    char text[sizeof "255.255.255.255"];
    const int length = std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    if (length < 0 || size <= length) {
        return false;
    }
    std::memcpy(out, text, static_cast<size_t>(length) + 1);
    return true;
}

}  // namespace hx
