#pragma once
// Splits what the PC writes into commands: a command byte and its complement,
// and for a data command LEN, TYPE, LEN-1 data bytes and the XOR of LEN, TYPE
// and data. A data command's two bytes alone at the end of what was read are
// its short form (the PC announcing a data command). A command cut short
// waits for the rest; bytes that make no command are handed back as such.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/boardsim/board_protocol.h"

namespace hx {

struct stBoardCommand {
    enumBoardDevice device = enumBoardDevice::BillAcceptor;
    enumBoardRequest request = enumBoardRequest::AllData;
    std::optional<uint8_t> type;  // data commands with a body only
    std::vector<uint8_t> data;
};

// A command, or bytes that make none with the reason.
struct stLinePiece {
    std::vector<uint8_t> bytes;
    std::optional<stBoardCommand> command;
    std::string problem;
};

class CBoardCommandReader {
public:
    // The pieces the new bytes complete, in the order they came.
    std::vector<stLinePiece> Feed(std::span<const uint8_t> bytes);

private:
    // How many bytes of m_pending from `start` the next piece takes; 0 when it
    // needs more bytes.
    size_t ReadPiece(size_t start, std::vector<stLinePiece>& pieces) const;

    std::vector<uint8_t> m_pending;
};

}  // namespace hx
