#pragma once
// A fuzz target's run of a tool's console: the input's lines, one command
// each, every reply "ok ..." or "error: ...", its further lines indented.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_require.h"

namespace hx {

inline void RequireConsoleReplies(const uint8_t* data, size_t size,
                                  const std::function<std::string(std::string_view)>& execute) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string reply = execute(text.substr(start, end - start));
        Require(reply.starts_with("ok") || reply.starts_with("error: "));
        for (size_t at = reply.find('\n'); at != std::string::npos; at = reply.find('\n', at + 1)) {
            Require(reply.compare(at + 1, 2, "  ") == 0);
        }
        start = end + 1;
    }
}

}  // namespace hx
