#include "tools/prnsim/receipt_printer.h"

#include "tools/common/tool_journal.h"

namespace hx {

namespace {

bool IsCommand(const stPrinterPiece& piece, enumPrinterOp op) {
    return piece.command && piece.command->op == op;
}

int64_t LimitOf(enumCutOff reason) {
    switch (reason) {
        case enumCutOff::Bytes:
            return static_cast<int64_t>(kMostDocumentBytes);
        case enumCutOff::Lines:
            return static_cast<int64_t>(kMostDocumentLines);
        default:
            return kLongestPaperDots;
    }
}

}  // namespace

CReceiptPrinter::CReceiptPrinter(int paperWidth, enumPrinterState state, AnswerWriter answer,
                                 DocumentSaver saver, EventSink events)
    : m_state(state),
      m_answer(std::move(answer)),
      m_saver(std::move(saver)),
      m_events(std::move(events)),
      m_builder(paperWidth) {}

void CReceiptPrinter::Take(const stPrinterPiece& piece) {
    const bool cut = IsCommand(piece, enumPrinterOp::Cut);
    if (IsCommand(piece, enumPrinterOp::StatusRequest)) {
        Answer(piece.command->value);
    } else if (m_skippingToCut) {
        m_skippingToCut = !cut;
    } else if (!PrintsIn(m_state)) {
        Drop(piece);
    } else if (m_builder.Take(piece)) {
        // A document cut off before its cut: the rest of it up to the cut is not printed.
        const bool cutOff = Finish();
        m_skippingToCut = cutOff && !cut;
    }
}

void CReceiptPrinter::SetState(enumPrinterState state) {
    ReportDropped();
    m_state = state;
}

void CReceiptPrinter::Answer(int request) {
    const std::optional<uint8_t> answer = StatusAnswer(m_state, request);
    if (!answer) {
        ++m_counts.unanswered;
        m_events({{"event", "status request"}, {"n", request}, {"answer", "silent"}});
        return;
    }
    const bool written = m_answer(*answer);
    ++m_counts.answered;
    m_events({{"event", "status request"},
              {"n", request},
              {"answer", HexBytes(std::span(&*answer, 1))},
              {"written", written}});
}

void CReceiptPrinter::Drop(const stPrinterPiece& piece) {
    m_droppedRun += static_cast<int64_t>(piece.bytes.size());
    m_counts.droppedBytes += static_cast<int64_t>(piece.bytes.size());
    if (IsCommand(piece, enumPrinterOp::Cut)) {
        ReportDropped();
    }
}

void CReceiptPrinter::ReportDropped() {
    if (m_droppedRun == 0) {
        return;
    }
    m_events({{"event", "dropped"}, {"bytes", m_droppedRun}, {"state", PrinterStateName(m_state)}});
    m_droppedRun = 0;
}

bool CReceiptPrinter::Finish() {
    const stPrintedDocument document = m_builder.TakeDocument();
    const int number = ++m_counts.documents;
    if (document.badBytes > 0) {
        m_events({{"event", "bad bytes"},
                  {"document", number},
                  {"count", document.badBytes},
                  {"bytes", HexBytes(document.firstBadBytes)}});
    }
    if (document.cutOff) {
        m_events({{"event", "oversized"},
                  {"document", number},
                  {"reason", CutOffName(*document.cutOff)},
                  {"limit", LimitOf(*document.cutOff)}});
    }
    stSavedDocument saved = m_saver(document, number);
    saved.number = number;
    saved.lines = static_cast<int>(document.lines.size());
    saved.height = document.height;
    nlohmann::json entry = DocumentLayoutJson(document);
    entry["event"] = "document";
    entry["number"] = number;
    entry["png"] = saved.png;
    entry["text"] = saved.text;
    entry["saved"] = saved.saved;
    if (!saved.saved) {
        entry["error"] = saved.error;
    }
    m_events(std::move(entry));
    m_recent.push_back(std::move(saved));
    if (m_recent.size() > kRecentDocuments) {
        m_recent.pop_front();
    }
    return document.cutOff.has_value();
}

}  // namespace hx
