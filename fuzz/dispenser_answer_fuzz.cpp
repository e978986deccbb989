// Any bytes as one read from the card dispenser: the parser stays inside
// the read, yields a known result, and hands over data only with a '0'
// answer to the command that carries it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "kiosk/cardissue/dispenser_answer.h"
#include "kiosk/cardissue/dispenser_result.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    // A buffer of exactly the input's size, so a sanitizer sees any overread.
    const std::vector<uint8_t> chunk(data, data + size);
    const stDispenserAnswer answer = ParseDispenserAnswer(chunk);
    Require(!DispenserResultName(answer.result).empty());
    Require(answer.result != DISPENSER_RECV_ERROR && answer.result != DISPENSER_BUSY);
    if (answer.block) {
        Require(answer.command == DISPENSER_READ && answer.result == DISPENSER_OK);
    }
    Require(answer.text.size() <= 8);
    Require(!answer.row.content.empty());
    return 0;
}
