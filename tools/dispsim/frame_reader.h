#pragma once
// Splits what the kiosk writes into frames: STX, LEN, CMD, parameters, ETX,
// BCC. A frame cut short waits for the rest, or is given up by DropPartial
// when the line has gone quiet; bytes that make no frame are handed back as
// such, and reading starts again at the next STX that makes one.

#include <cstdint>
#include <vector>

#include "tools/common/piece_reader.h"

namespace hx {

struct stDispenserFrame {
    uint8_t command = 0;
    std::vector<uint8_t> parameters;
};

using stFramePiece = stBytePiece<stDispenserFrame>;

class CDispenserFrameReader : public CPieceReader<stDispenserFrame> {
protected:
    size_t ReadPiece(std::span<const uint8_t> rest,
                     std::vector<stFramePiece>& pieces) const override;
};

}  // namespace hx
