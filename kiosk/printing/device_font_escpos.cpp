#include "kiosk/printing/device_font_escpos.h"

#include <algorithm>

namespace hx {

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kGs = 0x1D;
constexpr int kLongestFeed = 255;  // ESC J takes one byte

struct stFace {
    enumDeviceFace face;
    uint8_t size;  // GS ! n: width - 1 in the high nibble, height - 1 in the low one
    int height;
};

constexpr stFace kFaces[] = {
    {enumDeviceFace::FontControl, 0x00, 24}, {enumDeviceFace::Korean1x1, 0x00, 24},
    {enumDeviceFace::Korean1x2, 0x01, 48},   {enumDeviceFace::Korean2x2, 0x11, 48},
    {enumDeviceFace::Korean4x2, 0x31, 48},
};

const stFace& FaceOf(enumDeviceFace face) {
    return *std::find_if(std::begin(kFaces), std::end(kFaces),
                         [face](const stFace& known) { return known.face == face; });
}

void Append(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    out.insert(out.end(), bytes);
}

// Prints what the line buffer holds and moves the paper `dots` on.
void Feed(std::vector<uint8_t>& out, int dots) {
    do {
        const int piece = std::min(dots, kLongestFeed);
        Append(out, {kEsc, 'J', static_cast<uint8_t>(piece)});
        dots -= piece;
    } while (dots > 0);
}

void AppendControl(std::vector<uint8_t>& out, const std::string& characters) {
    for (const char command : characters) {
        if (command == 'x') {
            Append(out, {kEsc, 'a', 1});
        } else if (command == 'w') {
            Append(out, {kEsc, 'a', 0});
        } else if (command == '6') {
            Append(out, {kGs, 'V', 1});
        }
    }
}

void AppendLine(std::vector<uint8_t>& out, const stDeviceLine& line) {
    if (line.face == enumDeviceFace::FontControl) {
        AppendControl(out, line.text);
        return;
    }
    Append(out, {kGs, '!', FaceOf(line.face).size});
    out.insert(out.end(), line.text.begin(), line.text.end());
}

}  // namespace

int FaceHeight(enumDeviceFace face) {
    return FaceOf(face).height;
}

std::vector<uint8_t> EncodeDeviceDocument(const stDeviceDocument& document) {
    std::vector<uint8_t> out{kEsc, '@'};
    for (size_t i = 0; i < document.lines.size(); ++i) {
        const stDeviceLine& line = document.lines[i];
        if (i > 0) {
            const bool byDefaultFont = i == 1 && document.secondLineByDefaultFont;
            const int unit =
                byDefaultFont ? kDefaultFontHeight : FaceHeight(document.lines[i - 1].face);
            Feed(out, std::max(line.step, 0) * unit);
        }
        AppendLine(out, line);
    }
    if (!document.lines.empty() && document.lines.back().face != enumDeviceFace::FontControl) {
        Feed(out, FaceHeight(document.lines.back().face));
    }
    return out;
}

}  // namespace hx
