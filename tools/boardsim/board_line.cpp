#include "tools/boardsim/board_line.h"

#include <algorithm>

namespace hx {

namespace {

// How long a read waits when nothing is due, so a stop is noticed soon.
constexpr std::chrono::milliseconds kLongestWait{50};

}  // namespace

CBoardLine::CBoardLine(CPseudoTerminal& terminal, const stBoardState& board,
                       std::chrono::milliseconds gap, CToolJournal& journal)
    : CDeviceLine(journal),
      m_terminal(terminal),
      m_outbox(gap),
      m_board(board, m_outbox, [&journal](const nlohmann::json& entry) { journal.Write(entry); }),
      m_console(m_board, m_outbox) {}

void CBoardLine::Serve(const std::atomic<bool>& stop) {
    while (!stop) {
        std::chrono::milliseconds wait = kLongestWait;
        {
            std::lock_guard lock(m_mutex);
            wait = std::min(wait, m_outbox.TimeToNext(CBoardOutbox::Clock::now()).value_or(wait));
        }
        std::vector<uint8_t> bytes;
        if (!m_terminal.ReadSome(bytes, wait)) {
            m_journal.Write({{"event", "line failed"}});
            return;
        }
        std::lock_guard lock(m_mutex);
        TakeBytes(bytes);
        WriteDue();
    }
}

void CBoardLine::TakeBytes(const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) {
        return;
    }
    m_journal.Write({{"event", "read"}, {"bytes", HexBytes(bytes)}});
    for (const stLinePiece& piece : m_reader.Feed(bytes)) {
        if (!piece.command) {
            m_journal.Write(
                {{"event", "rejected"}, {"bytes", HexBytes(piece.bytes)}, {"why", piece.problem}});
            continue;
        }
        m_journal.Write({{"event", "command"}, {"bytes", HexBytes(piece.bytes)}});
        m_board.Handle(*piece.command);
    }
}

void CBoardLine::WriteDue() {
    const std::optional<std::vector<uint8_t>> due = m_outbox.TakeDue(CBoardOutbox::Clock::now());
    if (!due) {
        return;
    }
    const long written = m_terminal.Write(*due);
    m_journal.Write({{"event", "wrote"},
                     {"bytes", HexBytes(*due)},
                     {"written", written},
                     {"lost", written < static_cast<long>(due->size())}});
}

}  // namespace hx
