#include "tools/boardsim/command_reader.h"

#include "tools/boardsim/board_frames.h"

namespace hx {

size_t CBoardCommandReader::ReadPiece(std::span<const uint8_t> rest,
                                      std::vector<stLinePiece>& pieces) const {
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
        AddCommand(rest.first(2), command, pieces);
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
    AddCommand(whole, command, pieces);
    return total;
}

}  // namespace hx
