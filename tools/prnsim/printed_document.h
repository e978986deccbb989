#pragma once
// A receipt as the printer laid it out: the lines it printed, each character
// with its own size and weight, where each line stands on the paper, and the
// length of paper fed up to the cut. Distances are in dots; a one-byte
// character's cell is 12 x 24 dots, a two-byte (Korean) one 24 x 24, both
// times the character's magnification.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace hx {

inline constexpr int kDotsPerColumn = 12;
inline constexpr int kCellHeightDots = 24;

struct stPrintedChar {
    std::string bytes;  // CP949: one byte, or a two-byte character
    int width = 1;      // magnification, 1..8
    int height = 1;
    bool bold = false;
};

int CharWidthDots(const stPrintedChar& character);
int CharHeightDots(const stPrintedChar& character);

enum class enumLineAlign { Left, Centre, Right };

struct stPrintedLine {
    std::vector<stPrintedChar> chars;
    enumLineAlign align = enumLineAlign::Left;
    int top = 0;     // from the top of the paper
    int height = 0;  // the tallest character; 0 for an empty line
    int width = 0;   // what the characters take
    int feed = 0;    // the paper fed after it
};

// Why a document was ended before its cut.
enum class enumCutOff { Bytes, Lines, Paper };

struct stPrintedDocument {
    int paperWidth = 0;
    std::vector<stPrintedLine> lines;
    int height = 0;  // paper fed up to the cut
    int badBytes = 0;
    std::vector<uint8_t> firstBadBytes;  // at most kBadBytesShown
    std::optional<enumCutOff> cutOff;
};

inline constexpr size_t kBadBytesShown = 32;

// Where the line's first character stands: the alignment's padding.
int LineLeft(const stPrintedLine& line, int paperWidth);
// The characters printed, as UTF-8; trailing spaces kept.
std::string LineText(const stPrintedLine& line);
// One line of text per printed line, then "---- cut ----".
std::vector<std::string> DocumentTextLines(const stPrintedDocument& document);
// "bytes", "lines", "paper".
std::string CutOffName(enumCutOff reason);

// {"width", "height", "lines": [{"text", "align", "top", "height", "feed",
// "runs": [{"text", "size": "2x1", "bold"}]}], "badBytes"[, "cutOff"]}, a
// run being characters in a row of one size and weight.
nlohmann::json DocumentLayoutJson(const stPrintedDocument& document);

}  // namespace hx
