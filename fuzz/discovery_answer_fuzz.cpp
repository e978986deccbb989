// Any datagram on the discovery port: the answer check reads nothing beyond
// the datagram and accepts exactly "ZP-SERVER" up to the first zero byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "channel/auto_find_server.h"
#include "fuzz/fuzz_require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    const auto* zero =
        size != 0 ? static_cast<const uint8_t*>(std::memchr(data, 0, size)) : nullptr;
    const size_t textLength = zero != nullptr ? static_cast<size_t>(zero - data) : size;
    const bool expected = textLength == 9 && std::memcmp(data, "ZP-SERVER", 9) == 0;
    Require(IsDiscoveryAnswer(std::span<const uint8_t>(data, size)) == expected);
    return 0;
}
