#pragma once
// Splits what the kiosk writes to a receipt printer into the ESC/POS commands
// of the subset it uses and runs of text, as the bytes come. A command cut
// short waits for its rest; a text run never ends inside a two-byte
// character. Bytes outside the subset come back as rejected pieces, and
// reading goes on after them: an unknown ESC or GS sequence costs its first
// two bytes (only the first when the second is a control byte), a known one
// with a value it cannot take costs all of them, any other control byte
// costs itself.

#include <cstdint>
#include <vector>

#include "tools/common/piece_reader.h"

namespace hx {

enum class enumPrinterOp {
    Text,           // the piece's bytes: whole CP949 characters, none below 0x20
    Initialise,     // ESC @
    CharacterSize,  // GS ! n: value = n (each half 0..7)
    Bold,           // ESC E n: value = n & 1
    Align,          // ESC a n: value 0 left, 1 centre, 2 right
    FeedDots,       // ESC J n: value = n
    LineFeed,       // LF
    Cut,            // GS V m [n]: value = dots fed before the cut
    StatusRequest,  // DLE EOT n: value = n (1..4)
};

struct stPrinterCommand {
    enumPrinterOp op = enumPrinterOp::Text;
    int value = 0;
};

using stPrinterPiece = stBytePiece<stPrinterCommand>;

class CEscPosReader : public CPieceReader<stPrinterCommand> {
protected:
    size_t ReadPiece(std::span<const uint8_t> rest,
                     std::vector<stPrinterPiece>& pieces) const override;
};

}  // namespace hx
