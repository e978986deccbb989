#pragma once
// The receipt printer: it answers a status request at once, even in the
// middle of a document; it lays documents out and hands each one that ends
// to be saved; while its state keeps it from printing it drops the bytes of
// documents. A document cut off at a limit is followed by nothing printed up
// to its cut. What it does goes to the event sink for the journal.

#include <cstdint>
#include <deque>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "tools/prnsim/document_builder.h"
#include "tools/prnsim/printer_state.h"

namespace hx {

struct stSavedDocument {
    int number = 0;  // 1 for the first document this run finished
    std::string png;
    std::string text;
    bool saved = false;
    std::string error;  // why it was not saved
    int lines = 0;
    int height = 0;
};

struct stPrinterCounts {
    int documents = 0;
    int64_t droppedBytes = 0;
    int answered = 0;    // status requests
    int unanswered = 0;  // status requests met by silence
};

inline constexpr size_t kRecentDocuments = 10;

class CReceiptPrinter {
public:
    using EventSink = std::function<void(nlohmann::json)>;
    // Writes a status answer to the line; true when it went out.
    using AnswerWriter = std::function<bool(uint8_t answer)>;
    // Files the document; fills the paths, whether it was saved and why not.
    using DocumentSaver = std::function<stSavedDocument(const stPrintedDocument&, int number)>;

    CReceiptPrinter(int paperWidth, enumPrinterState state, AnswerWriter answer,
                    DocumentSaver saver, EventSink events);

    void Take(const stPrinterPiece& piece);
    // Nothing came for a while: the bytes dropped since the last report are journalled.
    void LineQuiet() { ReportDropped(); }
    void SetState(enumPrinterState state);

    enumPrinterState State() const { return m_state; }
    const stPrinterCounts& Counts() const { return m_counts; }
    // The last few documents, oldest first.
    const std::deque<stSavedDocument>& Recent() const { return m_recent; }

private:
    void Answer(int request);
    void Drop(const stPrinterPiece& piece);
    void ReportDropped();
    // True when the document was cut off.
    bool Finish();

    enumPrinterState m_state;
    AnswerWriter m_answer;
    DocumentSaver m_saver;
    EventSink m_events;
    CDocumentBuilder m_builder;
    bool m_skippingToCut = false;
    int64_t m_droppedRun = 0;
    stPrinterCounts m_counts;
    std::deque<stSavedDocument> m_recent;
};

}  // namespace hx
