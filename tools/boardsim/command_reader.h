#pragma once
// Splits what the PC writes into commands: a command byte and its complement,
// and for a data command LEN, TYPE, LEN-1 data bytes and the XOR of LEN, TYPE
// and data. A data command's two bytes alone at the end of what was read are
// its short form (the PC announcing a data command). A command cut short
// waits for the rest; bytes that make no command are handed back as such.

#include <cstdint>
#include <optional>
#include <vector>

#include "tools/boardsim/board_protocol.h"
#include "tools/common/piece_reader.h"

namespace hx {

struct stBoardCommand {
    enumBoardDevice device = enumBoardDevice::BillAcceptor;
    enumBoardRequest request = enumBoardRequest::AllData;
    std::optional<uint8_t> type;  // data commands with a body only
    std::vector<uint8_t> data;
};

using stLinePiece = stBytePiece<stBoardCommand>;

class CBoardCommandReader : public CPieceReader<stBoardCommand> {
protected:
    size_t ReadPiece(std::span<const uint8_t> rest,
                     std::vector<stLinePiece>& pieces) const override;
};

}  // namespace hx
