#pragma once
// Which pages may speak with the kiosk on its screen socket.

#include <cstdint>

namespace hx {

// True for the kiosk's own pages (http://127.0.0.1:PORT, http://localhost:PORT)
// and for clients that send no origin; false for any other site.
bool IsAllowedOrigin(const char* origin, std::uint16_t port);

}  // namespace hx
