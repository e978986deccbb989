#include "tools/dispsim/frame_reader.h"

#include "tools/common/xor_check.h"
#include "tools/dispsim/dispenser_protocol.h"

namespace hx {

namespace {

// The longest frame the kiosk sends (a write) carries 19 bytes from CMD to
// ETX; a longer LEN is line noise, not worth waiting for.
constexpr size_t kLongestBody = 32;

void AddRejected(std::span<const uint8_t> bytes, const std::string& problem,
                 std::vector<stFramePiece>& pieces) {
    // Noise bytes in a row make one piece, so a burst of line noise is one journal line.
    if (!pieces.empty() && !pieces.back().frame && pieces.back().problem == problem) {
        pieces.back().bytes.insert(pieces.back().bytes.end(), bytes.begin(), bytes.end());
        return;
    }
    pieces.push_back({{bytes.begin(), bytes.end()}, std::nullopt, problem});
}

}  // namespace

std::vector<stFramePiece> CDispenserFrameReader::Feed(std::span<const uint8_t> bytes) {
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    std::vector<stFramePiece> pieces;
    size_t position = 0;
    while (position < m_pending.size()) {
        const size_t taken = ReadPiece(position, pieces);
        if (taken == 0) {
            break;
        }
        position += taken;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(position));
    return pieces;
}

std::optional<stFramePiece> CDispenserFrameReader::DropPartial() {
    if (m_pending.empty()) {
        return std::nullopt;
    }
    stFramePiece piece{std::move(m_pending), std::nullopt, "frame cut short"};
    m_pending.clear();
    return piece;
}

size_t CDispenserFrameReader::ReadPiece(size_t start, std::vector<stFramePiece>& pieces) const {
    const std::span<const uint8_t> rest = std::span(m_pending).subspan(start);
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
    stDispenserFrame frame{whole[2], {whole.begin() + 3, whole.end() - 2}};
    pieces.push_back({{whole.begin(), whole.end()}, std::move(frame), ""});
    return total;
}

}  // namespace hx
