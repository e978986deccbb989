#pragma once
// Taking a container packet (command 20000) apart: after its own header come
// whole packets back to back, each as long as its size field says.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace hx {

struct stContainerWalk {
    int delivered = 0;   // inner packets handed on
    size_t dropped = 0;  // bytes after the last good packet, left unread
};

// Hands each inner packet to `deliver` in order. Stops at the first that does
// not fit: less than a header left, a size field below a header or beyond the
// bytes left, or a wrong magic; what follows it is dropped. A container
// shorter than a header delivers nothing.
stContainerWalk WalkContainer(std::span<const uint8_t> container,
                              const std::function<void(std::span<const uint8_t>)>& deliver);

}  // namespace hx
