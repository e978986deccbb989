#include "net/socket_api.h"

#include <cstdio>

namespace hx {

bool FormatDotted(const in_addr& address, char* out, int size) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address.s_addr);
    int length =
        std::snprintf(out, static_cast<size_t>(size), "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return size > 0 && length >= 0 && length < size;
}

}  // namespace hx
