#pragma once
// A message of nothing but zeros, sent without ever being held: its header and
// its zeros go out block by block, zlib-coded, framed as the transport frames
// any message, so a header can announce far more than anyone should take.
// The desk sends one to show a kiosk a hostile server; tests send one to play
// a hostile kiosk.

#include <cstdint>

#include "net/io_packet.h"

namespace hx {

// Announces `length` bytes (1 or more) and sends them; IO_OK or the first
// failure. The connection's option word is the same afterwards.
int SendZeroMessage(CIOPacket& connection, int32_t length);

}  // namespace hx
