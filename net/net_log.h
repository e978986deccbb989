#pragma once
// The transport's own diagnostic file, "HxNet.log" in the diagnostic folder:
// one per process, started afresh by it, shared by every connection. Takes
// traces of sends and receives and the reasons connections fail.

#include <cstddef>
#include <cstdint>
#include <string>

namespace hx {

void WriteNetLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Two hexadecimal digits per byte of at most the first 50 bytes, a space
// after every fourth.
std::string HexDump(const uint8_t* data, size_t length);

// A short text for a failure code, for log lines.
const char* IoResultText(int result);

}  // namespace hx
