#include "tools/prnsim/document_builder.h"

#include <algorithm>
#include <string_view>

#include "platform/cp949.h"

namespace hx {

namespace {

// LF feeds the tallest character and this much, and never less than kLeastLineFeed.
constexpr int kLineGap = 6;
constexpr int kLeastLineFeed = 30;

std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

CDocumentBuilder::CDocumentBuilder(int paperWidth) : m_paperWidth(paperWidth) {
    m_document.paperWidth = paperWidth;
}

bool CDocumentBuilder::Take(const stPrinterPiece& piece) {
    if (m_ended) {
        return true;
    }
    const std::span<const uint8_t> bytes = piece.bytes;
    const size_t room = kMostDocumentBytes - m_bytes;
    if (bytes.size() > room) {
        if (piece.command && piece.command->op == enumPrinterOp::Text) {
            AddText(bytes.first(Cp949PrefixLength(AsText(bytes), room)));
        }
        m_bytes = kMostDocumentBytes;
        CutOff(enumCutOff::Bytes);
        return true;
    }
    m_bytes += bytes.size();
    if (piece.command) {
        Apply(piece.command->op, piece.command->value, bytes);
    } else {
        NoteRejected(bytes);
    }
    return m_ended;
}

stPrintedDocument CDocumentBuilder::TakeDocument() {
    stPrintedDocument document = std::move(m_document);
    m_document = {};
    m_document.paperWidth = m_paperWidth;
    m_line = {};
    m_bytes = 0;
    m_ended = false;
    return document;
}

void CDocumentBuilder::Apply(enumPrinterOp op, int value, std::span<const uint8_t> bytes) {
    switch (op) {
        case enumPrinterOp::Text:
            AddText(bytes);
            break;
        case enumPrinterOp::Initialise:
            m_look = {};
            m_align = enumLineAlign::Left;
            m_line = {};
            break;
        case enumPrinterOp::CharacterSize:
            m_look.width = (value >> 4) + 1;
            m_look.height = (value & 0x0F) + 1;
            break;
        case enumPrinterOp::Bold:
            m_look.bold = value != 0;
            break;
        case enumPrinterOp::Align:
            m_align = static_cast<enumLineAlign>(value);
            break;
        case enumPrinterOp::FeedDots:
            if (m_line.chars.empty()) {
                Feed(value);
            } else {
                PrintLine(value);
            }
            break;
        case enumPrinterOp::LineFeed:
            PrintLine(LineFeedDots());
            break;
        case enumPrinterOp::Cut:
            PrintLeftText();
            if (!m_ended) {
                Feed(value);
            }
            m_ended = true;
            break;
        case enumPrinterOp::StatusRequest:
            break;
    }
}

void CDocumentBuilder::AddText(std::span<const uint8_t> bytes) {
    const std::string_view text = AsText(bytes);
    size_t at = 0;
    while (at < text.size() && !m_ended) {
        const size_t length = Cp949CharLength(text, at);
        AddChar(bytes.subspan(at, length));
        at += length;
    }
}

void CDocumentBuilder::AddChar(std::span<const uint8_t> bytes) {
    stPrintedChar character = m_look;
    character.bytes.assign(bytes.begin(), bytes.end());
    const int width = CharWidthDots(character);
    if (!m_line.chars.empty() && m_line.width + width > m_paperWidth) {
        PrintLine(LineFeedDots());
        if (m_ended) {
            return;
        }
    }
    m_line.width += width;
    m_line.height = std::max(m_line.height, CharHeightDots(character));
    m_line.chars.push_back(std::move(character));
}

void CDocumentBuilder::PrintLine(int feed) {
    if (m_document.lines.size() >= kMostDocumentLines) {
        CutOff(enumCutOff::Lines);
        return;
    }
    m_line.align = m_align;
    m_line.top = m_document.height;
    m_line.feed = feed;
    m_document.lines.push_back(std::move(m_line));
    m_line = {};
    Feed(feed);
}

void CDocumentBuilder::PrintLeftText() {
    if (!m_line.chars.empty()) {
        PrintLine(LineFeedDots());
    }
}

void CDocumentBuilder::Feed(int dots) {
    m_document.height += dots;
    if (m_document.height > kLongestPaperDots) {
        m_document.height = kLongestPaperDots;
        CutOff(enumCutOff::Paper);
    }
}

int CDocumentBuilder::LineFeedDots() const {
    return std::max(kLeastLineFeed, m_line.height + kLineGap);
}

void CDocumentBuilder::NoteRejected(std::span<const uint8_t> bytes) {
    m_document.badBytes += static_cast<int>(bytes.size());
    const size_t shown = std::min(bytes.size(), kBadBytesShown - m_document.firstBadBytes.size());
    m_document.firstBadBytes.insert(m_document.firstBadBytes.end(), bytes.begin(),
                                    bytes.begin() + static_cast<ptrdiff_t>(shown));
}

void CDocumentBuilder::CutOff(enumCutOff reason) {
    if (m_ended) {
        return;
    }
    m_document.cutOff = reason;
    m_line = {};
    m_ended = true;
}

}  // namespace hx
