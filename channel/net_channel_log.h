#pragma once

namespace hx {

// The channel library's diagnostic file, "HxChannel.log" in the diagnostic
// folder: one per process, started afresh by it. Takes why handshakes failed,
// what was dropped from the wire and what could not be shown.

void WriteChannelLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace hx
