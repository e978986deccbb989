#include "tools/prnsim/printer_line.h"

namespace hx {

namespace {

// After this much quiet the bytes dropped meanwhile are journalled, so a test
// sees them without waiting for a cut that may never come.
constexpr std::chrono::milliseconds kQuietLine{100};

}  // namespace

CPrinterLine::CPrinterLine(CPseudoTerminal& terminal, const stPrinterSetup& setup,
                           CReceiptPrinter::DocumentSaver saver, CToolJournal& journal)
    : CDeviceLine(journal),
      m_terminal(terminal),
      m_printer(
          setup.paperWidth, setup.state,
          [&terminal](uint8_t answer) { return terminal.Write(std::span(&answer, 1)) == 1; },
          std::move(saver), [&journal](const nlohmann::json& entry) { journal.Write(entry); }),
      m_console(m_printer) {}

void CPrinterLine::Serve(const std::atomic<bool>& stop) {
    ReadUntilStopped(m_terminal, stop, kQuietLine, [this](const std::vector<uint8_t>& bytes) {
        if (bytes.empty()) {
            m_printer.LineQuiet();
            return;
        }
        for (const stPrinterPiece& piece : m_reader.Feed(bytes)) {
            m_printer.Take(piece);
        }
    });
}

}  // namespace hx
