#pragma once
// For tests only: printer bytes written the way the kiosk writes them, and
// the document the printer lays out from them, described compactly.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp949.h"
#include "tools/prnsim/document_builder.h"

namespace hx {

inline std::vector<uint8_t> PrinterBytes(std::string_view bytes) {
    return {bytes.begin(), bytes.end()};
}

// The text as the kiosk sends it: code page 949.
inline std::string Cp949(std::string_view utf8) {
    return Cp949FromUtf8(utf8);
}

// The document the bytes make, up to its cut (or as far as they go).
inline stPrintedDocument LaidOut(std::string_view bytes, int paperWidth = 576) {
    CEscPosReader reader;
    CDocumentBuilder builder(paperWidth);
    for (const stPrinterPiece& piece : reader.Feed(PrinterBytes(bytes))) {
        if (builder.Take(piece)) {
            break;
        }
    }
    return builder.TakeDocument();
}

// "30+54 centre@240 [2x2]HX [1x1 bold]Motel": top + feed, alignment, where the
// first character stands, then each run of one size and weight.
inline std::vector<std::string> DescribeLines(const stPrintedDocument& document) {
    std::vector<std::string> lines;
    const nlohmann::json layout = DocumentLayoutJson(document);
    for (size_t i = 0; i < document.lines.size(); ++i) {
        const nlohmann::json& line = layout["lines"][i];
        std::string text = std::to_string(line["top"].get<int>()) + "+" +
                           std::to_string(line["feed"].get<int>()) + " " +
                           line["align"].get<std::string>() + "@" +
                           std::to_string(LineLeft(document.lines[i], document.paperWidth));
        for (const nlohmann::json& run : line["runs"]) {
            text += " [" + run["size"].get<std::string>() + (run["bold"] ? " bold" : "") + "]" +
                    run["text"].get<std::string>();
        }
        lines.push_back(text);
    }
    return lines;
}

}  // namespace hx
