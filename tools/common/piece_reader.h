#pragma once
// Splits what a device's peer writes into whole commands as the bytes come:
// a command cut short waits for the rest, and bytes that make no command are
// handed back as such. A device's reader says how long its next piece is.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hx {

// A command, or bytes that make none with the reason.
template <class Command>
struct stBytePiece {
    std::vector<uint8_t> bytes;
    std::optional<Command> command;
    std::string problem;
};

template <class Command>
class CPieceReader {
public:
    using Piece = stBytePiece<Command>;

    virtual ~CPieceReader() = default;

    // The pieces the new bytes complete, in the order they came.
    std::vector<Piece> Feed(std::span<const uint8_t> bytes) {
        m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
        std::vector<Piece> pieces;
        size_t position = 0;
        while (position < m_pending.size()) {
            const size_t taken = ReadPiece(std::span(m_pending).subspan(position), pieces);
            if (taken == 0) {
                break;
            }
            position += taken;
        }
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(position));
        return pieces;
    }

    // The bytes of a command still waiting for its rest, as a rejected piece;
    // nullopt when none waits.
    std::optional<Piece> DropPartial() {
        if (m_pending.empty()) {
            return std::nullopt;
        }
        Piece piece{std::move(m_pending), std::nullopt, "cut short"};
        m_pending.clear();
        return piece;
    }

protected:
    // How many bytes from the start of `rest` (never empty) the next piece
    // takes, adding it to `pieces`; 0 when it needs more bytes.
    virtual size_t ReadPiece(std::span<const uint8_t> rest, std::vector<Piece>& pieces) const = 0;

    static void AddCommand(std::span<const uint8_t> bytes, Command command,
                           std::vector<Piece>& pieces) {
        pieces.push_back({{bytes.begin(), bytes.end()}, std::move(command), ""});
    }

    static void AddRejected(std::span<const uint8_t> bytes, const std::string& problem,
                            std::vector<Piece>& pieces) {
        // Noise bytes in a row make one piece, so a burst of line noise is one journal line.
        if (!pieces.empty() && !pieces.back().command && pieces.back().problem == problem) {
            pieces.back().bytes.insert(pieces.back().bytes.end(), bytes.begin(), bytes.end());
            return;
        }
        pieces.push_back({{bytes.begin(), bytes.end()}, std::nullopt, problem});
    }

private:
    std::vector<uint8_t> m_pending;
};

}  // namespace hx
