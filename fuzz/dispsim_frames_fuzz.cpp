// Any bytes from the kiosk's side of the dispenser's line, in two reads: the
// reader neither loses nor invents a byte, and every frame it finds gets an
// answer the kiosk accepts, with no card made or lost on the way.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "tools/dispsim/card_dispenser.h"
#include "tools/dispsim/frame_reader.h"

namespace {

constexpr int kCards = 3;

bool KioskAccepts(const std::vector<uint8_t>& answer, uint8_t command) {
    uint8_t check = 0;
    for (size_t i = 1; i + 1 < answer.size(); ++i) {
        check ^= answer[i];
    }
    return answer.size() >= 5 && answer.size() <= 21 && answer[2] == command &&
           check == answer.back();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    // Buffers of exactly the reads' sizes, so a sanitizer sees any overread.
    const size_t split = size == 0 ? 0 : data[0] % (size + 1);
    const std::vector<uint8_t> first(data, data + split);
    const std::vector<uint8_t> second(data + split, data + size);
    CDispenserFrameReader reader;
    CCardDispenser dispenser(kCards, [](const nlohmann::json&) {});
    size_t seen = 0;
    auto take = [&](const stFramePiece& piece) {
        seen += piece.bytes.size();
        Require(!piece.bytes.empty());
        if (!piece.command) {
            return;
        }
        Require(piece.command->parameters.size() <= 31);
        const std::optional<std::vector<uint8_t>> answer = dispenser.Handle(*piece.command);
        Require(answer && KioskAccepts(*answer, piece.command->command));
    };
    for (const std::vector<uint8_t>& read : {first, second}) {
        for (const stFramePiece& piece : reader.Feed(read)) {
            take(piece);
        }
    }
    if (const std::optional<stFramePiece> partial = reader.DropPartial()) {
        take(*partial);
    }
    Require(seen == size);
    const stDispenserState& state = dispenser.State();
    Require(state.stack >= 0);
    Require(state.stack + state.issued + state.captured + (state.cardInMouth ? 1 : 0) == kCards);
    return 0;
}
