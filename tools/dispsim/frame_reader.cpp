#include "tools/dispsim/frame_reader.h"

#include "tools/common/xor_check.h"
#include "tools/dispsim/dispenser_protocol.h"

namespace hx {

namespace {

// The longest frame the kiosk sends (a write) carries 19 bytes from CMD to
// ETX; a longer LEN is line noise, not worth waiting for.
constexpr size_t kLongestBody = 32;

}  // namespace

size_t CDispenserFrameReader::ReadPiece(std::span<const uint8_t> rest,
                                        std::vector<stFramePiece>& pieces) const {
    if (rest[0] != kDispenserStx) {
        AddRejected(rest.first(1), "not a frame start", pieces);
        return 1;
    }
    if (rest.size() < 2) {
        return 0;
    }
    const size_t body = rest[1] > kDispenserLengthBase ? rest[1] - kDispenserLengthBase : 0;
    if (body == 0 || body > kLongestBody) {
        // Only the STX goes: the length byte may start the next frame.
        AddRejected(rest.first(1), "impossible length", pieces);
        return 1;
    }
    const size_t total = 2 + body + 2;
    if (rest.size() < total) {
        return 0;
    }
    const std::span<const uint8_t> whole = rest.first(total);
    if (whole[total - 2] != kDispenserEtx) {
        AddRejected(rest.first(1), "no ETX where the length puts it", pieces);
        return 1;
    }
    if (XorOfBytes(whole.first(total - 1)) != whole[total - 1]) {
        AddRejected(whole, "bad BCC", pieces);
        return total;
    }
    AddCommand(whole, {whole[2], {whole.begin() + 3, whole.end() - 2}}, pieces);
    return total;
}

}  // namespace hx
