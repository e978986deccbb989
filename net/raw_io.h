#pragma once
// The two primitives the block framing runs on: writing all of a byte range to
// the connection and reading exactly n bytes from it. Both return io_result.

#include <cstddef>
#include <cstdint>

namespace hx {

class CRawIO {
public:
    virtual ~CRawIO() = default;
    virtual int SendRaw(const uint8_t* data, size_t length) = 0;
    virtual int ReadRaw(uint8_t* data, size_t length) = 0;
};

}  // namespace hx
