#pragma once
// Splits what the kiosk writes into frames: STX, LEN, CMD, parameters, ETX,
// BCC. A frame cut short waits for the rest, or is given up by DropPartial
// when the line has gone quiet; bytes that make no frame are handed back as
// such, and reading starts again at the next STX that makes one.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hx {

struct stDispenserFrame {
    uint8_t command = 0;
    std::vector<uint8_t> parameters;
};

// A frame, or bytes that make none with the reason.
struct stFramePiece {
    std::vector<uint8_t> bytes;
    std::optional<stDispenserFrame> frame;
    std::string problem;
};

class CDispenserFrameReader {
public:
    // The pieces the new bytes complete, in the order they came.
    std::vector<stFramePiece> Feed(std::span<const uint8_t> bytes);
    // The bytes of a frame still waiting for its rest, as a rejected piece;
    // nullopt when none waits.
    std::optional<stFramePiece> DropPartial();

private:
    // How many bytes of m_pending from `start` the next piece takes; 0 when it
    // needs more bytes.
    size_t ReadPiece(size_t start, std::vector<stFramePiece>& pieces) const;

    std::vector<uint8_t> m_pending;
};

}  // namespace hx
