#pragma once
// Lays out one document at a time as the printer would print it: characters
// go into the line being built in the size and weight set for them, a line
// that has no room for the next character is printed first (as by LF), LF
// and ESC J print the line and feed the paper, and a cut ends the document.
// A document that reaches a limit is cut off there; what it had not printed
// yet is lost, as on paper that ran out.

#include <cstddef>
#include <span>

#include "tools/prnsim/escpos_reader.h"
#include "tools/prnsim/printed_document.h"

namespace hx {

inline constexpr size_t kMostDocumentBytes = 1024 * 1024;
inline constexpr size_t kMostDocumentLines = 2000;
inline constexpr int kLongestPaperDots = 30000;  // about 3.75 m

class CDocumentBuilder {
public:
    explicit CDocumentBuilder(int paperWidth);

    // A piece of the document, or bytes the reader rejected; never a status
    // request. True once the document has ended: by its cut, or cut off.
    bool Take(const stPrinterPiece& piece);
    // The ended document; the next one starts with the size, weight and
    // alignment still set (only ESC @ resets them).
    stPrintedDocument TakeDocument();

private:
    void Apply(enumPrinterOp op, int value, std::span<const uint8_t> bytes);
    void AddText(std::span<const uint8_t> bytes);
    void AddChar(std::span<const uint8_t> bytes);
    void PrintLine(int feed);
    // Text left in the line at a cut is printed as by LF.
    void PrintLeftText();
    void Feed(int dots);
    int LineFeedDots() const;
    void NoteRejected(std::span<const uint8_t> bytes);
    void CutOff(enumCutOff reason);

    int m_paperWidth;
    stPrintedDocument m_document;
    stPrintedLine m_line;
    stPrintedChar m_look;  // the next character's size and weight
    enumLineAlign m_align = enumLineAlign::Left;
    size_t m_bytes = 0;
    bool m_ended = false;
};

}  // namespace hx
