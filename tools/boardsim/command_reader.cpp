#include "tools/boardsim/command_reader.h"

#include "tools/boardsim/board_frames.h"

namespace hx {

namespace {

void AddRejected(std::span<const uint8_t> bytes, const std::string& problem,
                 std::vector<stLinePiece>& pieces) {
    // Noise bytes in a row make one piece, so a burst of line noise is one journal line.
    if (!pieces.empty() && !pieces.back().command && pieces.back().problem == problem) {
        pieces.back().bytes.insert(pieces.back().bytes.end(), bytes.begin(), bytes.end());
        return;
    }
    pieces.push_back({{bytes.begin(), bytes.end()}, std::nullopt, problem});
}

}  // namespace

std::vector<stLinePiece> CBoardCommandReader::Feed(std::span<const uint8_t> bytes) {
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    std::vector<stLinePiece> pieces;
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

size_t CBoardCommandReader::ReadPiece(size_t start, std::vector<stLinePiece>& pieces) const {
    const std::span<const uint8_t> rest = std::span(m_pending).subspan(start);
    const std::optional<stBoardCommandByte> decoded = DecodeBoardCommandByte(rest[0]);
    if (!decoded) {
        AddRejected(rest.first(1), "not a command byte", pieces);
        return 1;
    }
    if (rest.size() < 2) {
        return 0;
    }
    if (rest[1] != static_cast<uint8_t>(rest[0] ^ 0xFF)) {
        AddRejected(rest.first(1), "command byte without its complement", pieces);
        return 1;
    }
    stBoardCommand command{decoded->device, decoded->request, std::nullopt, {}};
    if (decoded->request != enumBoardRequest::DataCommand || rest.size() == 2) {
        pieces.push_back({{rest.begin(), rest.begin() + 2}, command, ""});
        return 2;
    }
    const size_t length = rest[2];
    if (length == 0) {
        AddRejected(rest.first(3), "data command of length 0", pieces);
        return 3;
    }
    const size_t total = 2 + 1 + length + 1;
    if (rest.size() < total) {
        return 0;
    }
    const std::span<const uint8_t> whole = rest.first(total);
    if (XorOfBytes(whole.subspan(2, length + 1)) != whole[total - 1]) {
        AddRejected(whole, "bad BCC", pieces);
        return total;
    }
    command.type = whole[3];
    command.data.assign(whole.begin() + 4, whole.end() - 1);
    pieces.push_back({{whole.begin(), whole.end()}, command, ""});
    return total;
}

}  // namespace hx
