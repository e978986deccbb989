#include "tools/dispsim/dispenser_line.h"

namespace hx {

namespace {

// The kiosk writes a frame whole; one still cut short after this much quiet
// never gets its rest, and waiting on would swallow the next frame.
constexpr std::chrono::milliseconds kQuietLine{100};

}  // namespace

CDispenserLine::CDispenserLine(CPseudoTerminal& terminal, int cards, CToolJournal& journal)
    : CDeviceLine(journal),
      m_terminal(terminal),
      m_dispenser(cards, [&journal](const nlohmann::json& entry) { journal.Write(entry); }),
      m_console(m_dispenser) {}

void CDispenserLine::Serve(const std::atomic<bool>& stop) {
    ReadUntilStopped(m_terminal, stop, kQuietLine, [this](const std::vector<uint8_t>& bytes) {
        if (bytes.empty()) {
            if (std::optional<stFramePiece> partial = m_reader.DropPartial()) {
                TakePiece(*partial);
            }
            return;
        }
        m_journal.Write({{"event", "read"}, {"bytes", HexBytes(bytes)}});
        for (const stFramePiece& piece : m_reader.Feed(bytes)) {
            TakePiece(piece);
        }
    });
}

void CDispenserLine::TakePiece(const stFramePiece& piece) {
    if (!piece.command) {
        m_journal.Write(
            {{"event", "rejected"}, {"bytes", HexBytes(piece.bytes)}, {"why", piece.problem}});
        return;
    }
    m_journal.Write({{"event", "command"},
                     {"bytes", HexBytes(piece.bytes)},
                     {"name", DispenserCommandName(piece.command->command)}});
    const std::optional<std::vector<uint8_t>> answer = m_dispenser.Handle(*piece.command);
    if (!answer) {
        m_journal.Write({{"event", "unanswered"}});
        return;
    }
    const long written = m_terminal.Write(*answer);
    m_journal.Write({{"event", "wrote"},
                     {"bytes", HexBytes(*answer)},
                     {"written", written},
                     {"lost", written < static_cast<long>(answer->size())}});
}

}  // namespace hx
